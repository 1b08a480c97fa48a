#include "worksheets/objectives_alternatives/frm32safetyissues.h"

#include "model/g42safetyissues.h"

namespace worksheets {

namespace {

ObjectiveTreeForm::Config SafetyConfig()
{
    ObjectiveTreeForm::Config c;
    c.formName = QStringLiteral("frm32SafetyIssues");
    c.setupTrace = QStringLiteral("frm32SafetyIssues.Setup");
    c.id = QStringLiteral("tab32");
    c.worksheetNumber = 2;
    c.title = QStringLiteral("Safety Issues");
    c.instructions = QStringLiteral("List and describe specific Safety issues.\n"
                                    "To add an issue click the Add Issue button below, "
                                    "then fill in the name and description.");
    c.gridHeader = QStringLiteral("Safety Issue");
    c.memberCaption = QStringLiteral("Issue");
    c.addCaption = QStringLiteral("&Add Issue");
    c.deleteCaption = QStringLiteral("&Delete Issue");
    c.showsRoot = true;
    c.tracesSetupGrid = true;
    c.isGroup = [](const model::c41Objective& node) { return node.bSafetyRoot(); };
    c.collection = []() -> const QList<model::c41Objective*>& { return model::SafetyIssuesCollection(); };
    c.add = [](int parentKey) { return model::AddSafetyIssue(QString(), parentKey); };
    c.clear = [] { model::ClearSafetyIssues(); };
    c.get = [](int key) { return model::GetSafetyIssue(key); };
    c.remove = [](int key) { model::DeleteSafetyIssue(key); };
    return c;
}

} // namespace

frm32SafetyIssues::frm32SafetyIssues(QWidget* parent) : ObjectiveTreeForm(SafetyConfig(), parent) {}

} // namespace worksheets
