#pragma once

#include "model/prepfile.h"
#include "worksheets/common/worksheetform.h"

#include <QList>

#include <memory>

class QLabel;
class QListWidget;
class QPushButton;

namespace grid {
class Grid;
}

namespace worksheets {
class ItemList;
}

namespace worksheets::setup_situation {

// Import Data: brings resource management areas and fire management units from a Prep file
// of the costs folder into the analysis, and deletes areas and units from it.
class frm12Import : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm12Import(QWidget* parent = nullptr);
    ~frm12Import() override;

    void Setup() override;

    // The open Prep file, null while none is.
    const model::PrepFile* prepFile() const { return mPrep.get(); }
    const QList<model::PrepFileEntry>& fileList() const { return mFiles; }

    grid::Grid* grdFCD = nullptr;
    QLabel* lblPrepFile = nullptr;
    QListWidget* lstRMA = nullptr;
    QListWidget* lstFMU = nullptr;
    QPushButton* cmdImport = nullptr;
    QLabel* lblTolmarFile = nullptr;
    QListWidget* lstRMAList = nullptr;
    QListWidget* lstFMUList = nullptr;
    QPushButton* cmdDeleteRMA = nullptr;
    QPushButton* cmdDeleteFMU = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetupFCDGrid();
    void DisplayFCDFiles();
    void grdFCD_EnterCell();
    void grdFCD_ChooseAgain();
    void OpenRowFile(int row);
    void cmdImport_Click();
    void cmdDeleteRMA_Click();
    void cmdDeleteFMU_Click();
    void FillDataFileLists();
    // Deletes the list's current entry from the analysis once the user confirms.
    void DeleteEntry(worksheets::ItemList& list, QPushButton* deleteButton, void (*remove)(int key),
                     void (*fill)(worksheets::ItemList& list));

    worksheets::ItemList* mRMAList = nullptr;
    worksheets::ItemList* mFMUList = nullptr;
    QList<model::PrepFileEntry> mFiles;
    std::unique_ptr<model::PrepFile> mPrep;
    int mEnteredRow = 0;
    int mRowBeforePress = -1;
};

} // namespace worksheets::setup_situation
