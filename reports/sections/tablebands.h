#pragma once

// Tables placed in bands at fixed heights, a number of them to a page: band i (from 1) begins at
// first + pitch x ((i - 1) mod perPage) twips from the top, and a new page follows every
// perPage-th band but the last. A band never covers the table before it: when that table runs
// past the band's place (a tall table, a wide font), the band starts just below it instead, and
// when it would then run past the foot of the page it starts the next page.
namespace reports::sections {

class TableBands {
public:
    // Remembers the section's top margin, which the page breaks go back to.
    TableBands(int first, int pitch, int perPage, int count);
    // Sets the top margin where band i begins.
    void Begin(int i);
    // After band i has been printed.
    void End(int i);

private:
    int mSectionTop;
    int mFirst;
    int mPitch;
    int mPerPage;
    int mCount;
    int mStart = 0;
    int mStartPage = 0;
    int mLastHeight = 0;
    int mEnd = 0;        // where the last band's table ended, on which page
    int mEndPage = -1;
};

}  // namespace reports::sections
