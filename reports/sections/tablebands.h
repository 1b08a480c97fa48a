#pragma once

// Tables placed in bands at fixed heights, up to perPage of them on a page: the j-th band of a
// page (from 0) begins at first + pitch x j twips from the top. A band never covers what is
// printed before it: when the table before ran past the band's place (a tall table, a title that
// wraps), the band starts just below it instead. A new page is started only when the page has had
// its perPage bands, or when the next table, as tall as the one before it, would run past the foot
// of the page (as it does after a table that ran over a page end).
namespace reports::sections {

class TableBands {
public:
    // Remembers the section's top margin, which the page breaks go back to. The first band starts
    // no higher than printedBottom, where the section's own lines above the bands end.
    TableBands(int first, int pitch, int perPage, int printedBottom = 0);
    // Sets the top margin and the print position where the next band begins, on a new page when
    // it is due.
    void Begin();
    // After the band's table has been printed.
    void End();

private:
    int mSectionTop;
    int mFirst;
    int mPitch;
    int mPerPage;
    int mOnPage = 0;      // bands begun on the current page
    int mStart = 0;       // where the last band began, on which page
    int mStartPage = 0;
    int mHeight = 0;      // the last band's height, over all its pages
    int mEnd = 0;         // where the last band's table ended, on which page
    int mEndPage = -1;
};

// Tables a page and the font size of their body rows, for a section's two-digit layout code
// (tens: tables a page, units: the font size) and the number of alternatives: fewer, larger
// tables where a page would otherwise be left half empty.
struct BandLayout {
    int tablesPerPage;
    int fontSize;
    bool operator==(const BandLayout&) const = default;
};
BandLayout BandLayoutFor(int code, int alternatives);

}  // namespace reports::sections
