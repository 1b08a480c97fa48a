#pragma once

#include "worksheets/common/worksheetform.h"

#include <array>

class QLineEdit;
class QPushButton;

namespace label {
class FormattedLabel;
}

namespace worksheets::comparison_complexity {

// Complexity Guidelines: fixed reference text on incident complexity and the incident types,
// one topic at a time. It stores nothing.
class frm73Guide : public WorksheetForm {
    Q_OBJECT
public:
    static constexpr int kTopicCount = 6;

    explicit frm73Guide(QWidget* parent = nullptr);

    void Setup() override;
    void cmdShow_Click(int index);

    // The formatted text of topic 0 to 5, from the fixed opening on.
    static QString TopicText(int index);

private:
    void cmdLocal_Click();
    void ShowText(const QString& text, QPushButton* chosen);

    label::FormattedLabel* FLabel1;
    std::array<QPushButton*, kTopicCount> cmdShow{};
    QPushButton* cmdLocal;
    QLineEdit* Text1;
};

} // namespace worksheets::comparison_complexity
