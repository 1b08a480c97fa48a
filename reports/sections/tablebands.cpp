#include "reports/sections/tablebands.h"

#include "reports/frmpreview.h"

namespace reports::sections {

namespace {
// The room left between a table and a band pushed down below it.
constexpr int kGap = 240;
}  // namespace

TableBands::TableBands(int first, int pitch, int perPage, int count)
    : mSectionTop(VSPrinter1().MarginTop()), mFirst(first), mPitch(pitch), mPerPage(perPage), mCount(count)
{
}

void TableBands::Begin(int i)
{
    printing::ReportDocument& vp = VSPrinter1();
    int top = mFirst + mPitch * ((i - 1) % mPerPage);
    if (vp.PageCount() == mEndPage && mEnd + kGap > top) {
        top = mEnd + kGap;
        // The band before is the best guess of this one's height.
        if (mLastHeight > 0 && top + mLastHeight > vp.BottomLimit()) {
            vp.SetMarginTop(mSectionTop);
            vp.NewPage();
            top = mFirst;
        }
    }
    vp.SetMarginTop(top);
    mStart = top;
    mStartPage = vp.PageCount();
}

void TableBands::End(int i)
{
    printing::ReportDocument& vp = VSPrinter1();
    mLastHeight = vp.PageCount() == mStartPage ? vp.CurrentY() - mStart : 0;
    mEnd = vp.CurrentY();
    mEndPage = vp.PageCount();
    if (i % mPerPage == 0 && i < mCount) {
        vp.SetMarginTop(mSectionTop);
        vp.NewPage();
    }
}

}  // namespace reports::sections
