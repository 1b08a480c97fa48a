#pragma once

#include "platform/printing/reportpage.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace printing {

class ReportDocument;

struct TableColumn {
    int width = 0;
    Align align = Align::Left;   // "<" left, "^" centred, ">" right
    bool rule = false;    // "!": a rule at the column's right edge
};

// "2880|>2100!|^800;cell|cell|cell;cell;": the columns, then rows of cells each ended by ";".
struct TableFormat {
    QList<TableColumn> columns;
    QList<QStringList> rows;
    static TableFormat Parse(const QString& text);
    static QList<TableColumn> ParseColumns(const QString& columnFormat);
};

// A table built cell by cell and laid out when the document's EndTable is called. Rows and columns
// are numbered from 1; row 0 is the header row.
class ReportTable {
public:
    struct Cell {
        QString text;
        int colSpan = 1, rowSpan = 1;
        std::optional<Align> align;   // none: the column's alignment
        double fontSize = 0;       // 0: the table's
        int bold = -1;             // -1: the table's
        bool vertical = false;     // text reads bottom to top
        bool covered = false;      // inside another cell's span
    };
    struct Row {
        QList<Cell> cells;
        int height = 0;            // 0: as the content needs; else at least this
        bool keepWithNext = false;
        int spaceAbove = 0;
        bool ruleAbove = false;    // a rule over the row whatever the line style
    };

    ReportTable(QList<TableColumn> columns, const QStringList& header, const QList<QStringList>& body,
                double fontSize, bool bold, LineStyle lineStyle, int headerSetting, int rowSetting);

    int Columns() const { return int(mColumns.size()); }
    int Rows() const { return int(mRows.size()) - 1; }
    void SetRows(int count);
    bool HasHeader() const { return mHasHeader; }
    void SetHasHeader(bool on) { mHasHeader = on; }
    // Every row heads the rows of the tables printed after it (ReportDocument::HeadingRows).
    bool IsHeading() const { return mHeading; }
    void SetHeading(bool on) { mHeading = on; }

    QString CellText(int row, int col) const;
    // Each setter ignores a cell outside the table, as a report is better with a cell short than stopped.
    void SetCellText(int row, int col, const QString& text);
    void SetColSpan(int row, int col, int span);
    void SetRowSpan(int row, int col, int span);
    void SetCellAlign(int row, int col, Align code);
    void SetCellFontSize(int row, int col, double points);
    void SetCellBold(int row, int col, bool bold);
    void SetCellVertical(int row, int col, bool vertical);
    void SetRowHeight(int row, int twips);
    void SetKeepWithNext(int row, bool keep);
    void SetRowSpaceAbove(int row, int twips);
    // Rules that part groups of rows and of columns: over one row, and at the right edge of a
    // column (as "!" in the format), neither drawn through a cell that spans it.
    void SetRuleAbove(int row, bool on);
    void SetColumnRule(int col, bool on);

    // The numbered cell settings the report code passes, over a range of cells (rows and columns
    // inclusive): 1 body row count (the range is ignored), 7 row height, 19 cell alignment code,
    // 42 vertical text. Other numbers are accepted and leave the look as it is.
    enum class Setting { Rows = 1, RowHeight = 7, CellAlign = 19, VerticalText = 42 };
    void Set(Setting setting, int row1, int col1, int row2, int col2, int value);

    const Row& row(int index) const { return mRows.at(index); }
    const QList<TableColumn>& columns() const { return mColumns; }
    printing::LineStyle LineStyle() const { return mLineStyle; }
    int HeaderSetting() const { return mHeaderSetting; }
    double FontSize() const { return mFontSize; }
    bool Bold() const { return mBold; }

    // The room a cell keeps clear at its left and right edges: 60 twips, a fifteenth of a narrow
    // cell's width, so that a score or "Tgt" in a 450-twip cell fits whole at the table's size.
    static int CellPadding(int width);

    // Lays the rows out at the document's current position, breaking pages between rows; the
    // header row is repeated at the top of every further page.
    void Layout(ReportDocument& doc) const;

private:
    Cell* cell(int row, int col);
    void Cover();

    QList<TableColumn> mColumns;
    QList<Row> mRows;
    bool mHasHeader = true;
    bool mHeading = false;
    double mFontSize;
    bool mBold;
    printing::LineStyle mLineStyle;
    int mHeaderSetting;
};

}  // namespace printing
