#pragma once

#include <QComboBox>

class QListWidget;

namespace worksheets {

// A list whose long entries break into lines within its width instead of running past its
// edge, a little room above and below each entry so that where one ends and the next begins
// shows. An entry whose text changes takes the lines it now needs.
void WrapLongEntries(QListWidget* list);

// A drop-down list box narrower than its entries: the chosen entry shows its beginning and its
// end with the middle left out, as the opened list does when it is short of room, so that
// entries that differ only at the end are told apart; its tooltip gives the whole text.
class LongChoiceBox : public QComboBox {
public:
    explicit LongChoiceBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace worksheets
