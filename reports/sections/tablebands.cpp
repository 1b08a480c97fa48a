#include "reports/sections/tablebands.h"

#include "reports/frmpreview.h"

#include <algorithm>

namespace reports::sections {

namespace {
// The room left between a table and a band pushed down below it.
constexpr int kGap = 240;
}  // namespace

TableBands::TableBands(int first, int pitch, int perPage, int printedBottom)
    : mSectionTop(VSPrinter1().MarginTop()), mFirst(first), mPitch(pitch), mPerPage(std::max(1, perPage)),
      mEnd(printedBottom - kGap), mEndPage(VSPrinter1().PageCount())
{
}

void TableBands::Begin()
{
    printing::ReportDocument& vp = VSPrinter1();
    // A table that ran over the page end leaves its tail as the first band of this page.
    if (mEndPage != mStartPage && mOnPage > 0)
        mOnPage = 1;
    int top = mFirst + mPitch * std::min(mOnPage, mPerPage - 1);
    if (vp.PageCount() == mEndPage)
        top = std::max(top, mEnd + kGap);
    if (mOnPage > 0 && (mOnPage >= mPerPage || top + mHeight > vp.BottomLimit())) {
        vp.SetMarginTop(mSectionTop);
        vp.NewPage();
        mOnPage = 0;
        top = mFirst;
    }
    vp.SetMarginTop(top);
    vp.SetCurrentY(top);
    mStart = top;
    mStartPage = vp.PageCount();
    ++mOnPage;
}

void TableBands::End()
{
    printing::ReportDocument& vp = VSPrinter1();
    mEnd = vp.CurrentY();
    mEndPage = vp.PageCount();
    // A table that ran over page ends counts at its whole length: the next, as long, starts a page
    // rather than leave its title and heading alone at the foot of this one.
    mHeight = mEnd - mStart + (mEndPage - mStartPage) * (vp.BottomLimit() - mSectionTop);
}

BandLayout BandLayoutFor(int code, int alternatives)
{
    BandLayout layout{code / 10, code % 10};
    if (alternatives == 2 && layout.tablesPerPage > 2)
        layout = {2, 9};
    else if ((alternatives == 3 || alternatives == 5 || alternatives == 6) && layout.tablesPerPage > 3)
        layout = {3, 9};
    else if (alternatives == 4 && code == 38)
        layout = {2, 9};
    return layout;
}

}  // namespace reports::sections
