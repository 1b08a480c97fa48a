#include "upgrade/upgrader.h"

#include "core/u11datafile.h"
#include "core/u14properties.h"
#include "platform/ui/prompter.h"
#include "upgrade/convert.h"

namespace upgrade {

namespace {

const QString kQuestionTitle = QStringLiteral("Convert to Tolmar Rude 06 File?");

bool AskToConvert(QStringList losses)
{
    QString text;
    for (const QString& line : std::as_const(losses))
        text += line + QStringLiteral("\r\n");
    text += QStringLiteral("Once converted, the file cannot be opened with a previous version of TolmarVire.\r\n\r\n"
                           "Do you want to convert this file to a Tolmar Rude 06 file?");
    return ui::MsgBox(text, ui::Buttons::OKCancel, ui::Icon::Question, ui::Answer::Cancel, kQuestionTitle) ==
           ui::Answer::OK;
}

bool WorstCaseInFile()
{
    return core::Property_Get(QStringLiteral("AnalysisLevel")) == QStringLiteral("3");
}

class Conversions : public core::Upgrader {
public:
    bool QueryConvert41to5() override { return upgrade::QueryConvert41to5(); }
    bool QueryConvert5to6() override { return upgrade::QueryConvert5to6(); }
    void Convert4to41() override { upgrade::Convert4to41(); }
    void Convert41to5() override { upgrade::Convert41to5(); }
    void Convert5to6() override { upgrade::Convert5to6(); }
};

} // namespace

bool QueryConvert41to5()
{
    QStringList lines = {
        QStringLiteral("This file must be modified to work with Tolmar Rude 06."),
        QStringLiteral("All Brevan Stage I and Periodic Assessment data will be lost."),
        QStringLiteral("All Brevan Stage II and most Stage III report sections will be saved."),
        QStringLiteral("All Tolmar Safety issues will be lost."),
        QStringLiteral("All values for Tolmar Threatened Items will be lost."),
    };
    if (WorstCaseInFile())
        lines << QStringLiteral("All Tolmar Worst Case data will be lost.");
    lines << QStringLiteral("All other Tolmar data will be saved.");
    return AskToConvert(lines);
}

bool QueryConvert5to6()
{
    QStringList lines = {
        QStringLiteral("This file must be modified to work with Tolmar Rude 06."),
        QStringLiteral("Some Brevan Size-up and Stage I data will be lost."),
        QStringLiteral("All values for Tolmar Threatened Items will be lost."),
    };
    if (WorstCaseInFile())
        lines << QStringLiteral("All Tolmar Worst Case data will be lost.");
    lines << QStringLiteral("All other data will be saved.");
    return AskToConvert(lines);
}

void Install()
{
    static Conversions conversions;
    core::SetUpgrader(&conversions);
}

} // namespace upgrade
