#include "worksheets/objectives_alternatives/frm33objectives.h"

#include "model/g41objectives.h"

namespace worksheets {

namespace {

ObjectiveTreeForm::Config ObjectivesConfig()
{
    ObjectiveTreeForm::Config c;
    c.formName = QStringLiteral("frm33Objectives");
    c.setupTrace = QStringLiteral("frm33Objectives.Setup");
    c.id = QStringLiteral("tab33");
    c.worksheetNumber = 3;
    c.title = QStringLiteral("Fire Management Objectives");
    c.instructions = QStringLiteral("Add specific objectives for each category in the list on the left.\n"
                                    "To add an objective, first select the category "
                                    "and then click the Add Objective button below.\n"
                                    "Objectives for the 'Other' category are optional.");
    c.gridHeader = QStringLiteral("Category/Objective");
    c.memberCaption = QStringLiteral("Objective");
    c.addCaption = QStringLiteral("&Add Objective");
    c.deleteCaption = QStringLiteral("&Delete Objective");
    c.hasRMAGuidelines = true;
    c.isGroup = [](const model::c41Objective& node) { return node.bCategory(); };
    c.collection = []() -> const QList<model::c41Objective*>& { return model::ObjectivesCollection(); };
    c.add = [](int parentKey) { return model::AddObjective(QString(), parentKey); };
    c.clear = [] { model::ClearObjectives(); };
    c.get = [](int key) { return model::GetObjective(key); };
    c.remove = [](int key) { model::DeleteObjective(key); };
    return c;
}

} // namespace

frm33Objectives::frm33Objectives(QWidget* parent) : ObjectiveTreeForm(ObjectivesConfig(), parent) {}

} // namespace worksheets
