#include "worksheets/setup_situation/frm15zsrmadd.h"

#include "platform/ui/guard.h"
#include "worksheets/setup_situation/frm15srmaster.h"

#include "core/savescope.h"
#include "core/u91trace.h"
#include "model/g38srtypes.h"
#include "model/textnumbers.h"
#include "worksheets/common/boxorder.h"
#include "worksheets/common/numberbox.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace worksheets {

namespace {

const QString kDigits = QStringLiteral("0123456789");
constexpr int kPositionLength = 3;
constexpr model::textnum::NumberKind kCostKind{.min = 0, .max = frm15SRMaster::kMaxUnitCost, .unit = "dollars"};

QLineEdit* Box(int maxLength, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setMaxLength(maxLength);
    return box;
}

QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QLabel* Example(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: #404040;"));
    return label;
}

} // namespace

frm15zSRMAdd::frm15zSRMAdd(frm15SRMaster& master, QWidget* parent)
    : ModalDialog(QStringLiteral("frm15zSRMAdd"), parent), mMaster(master)
{
    cmdClose()->hide();
    setWindowTitle(QStringLiteral("Add Suppression Resource"));

    txtResourceName = Box(50, this);
    txtShortName = Box(20, this);
    txtUnits = Box(20, this);
    // The two numbers stop typing at their length but take a paste whole, to be judged.
    txtCost = new QLineEdit(this);
    txtPosition = new QLineEdit(this);
    AcceptOnlyCharacters(txtCost, kDigits + QStringLiteral(".,"), frm15SRMaster::kCostLength);
    AcceptOnlyCharacters(txtPosition, kDigits, kPositionLength);
    optTime = new QRadioButton(QStringLiteral("Per time unit"), this);
    optItem = new QRadioButton(QStringLiteral("Per item"), this);
    optTime->setChecked(true);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdOK->setEnabled(false);
    // Enter does not add the type; only a click or Alt+O does.
    cmdOK->setAutoDefault(false);
    cmdOK->setDefault(false);
    cmdCancel->setAutoDefault(false);

    auto* names = new QGridLayout;
    names->addWidget(Caption(QStringLiteral("Resource &Name"), txtResourceName, this), 0, 0);
    names->addWidget(Caption(QStringLiteral("&Short Name"), txtShortName, this), 0, 1);
    names->addWidget(txtResourceName, 1, 0);
    names->addWidget(txtShortName, 1, 1);
    names->setColumnStretch(0, 3);
    names->setColumnStretch(1, 2);

    auto* measured = new QGroupBox(QStringLiteral("How is cost measured?"), this);
    auto* options = new QGridLayout(measured);
    options->addWidget(optTime, 0, 0);
    options->addWidget(Example(QStringLiteral("Example: Engine cost per day"), measured), 0, 1);
    options->addWidget(optItem, 1, 0);
    options->addWidget(Example(QStringLiteral("Example: Retardant cost per load"), measured), 1, 1);
    options->setColumnStretch(1, 1);

    auto* amounts = new QGridLayout;
    amounts->addWidget(Caption(QStringLiteral("&Units"), txtUnits, this), 0, 0);
    amounts->addWidget(txtUnits, 0, 1);
    amounts->addWidget(Caption(QStringLiteral("Cos&t  $"), txtCost, this), 0, 2);
    amounts->addWidget(txtCost, 0, 3);
    amounts->addWidget(Example(QStringLiteral("(hours, shifts, days, loads, etc.)"), this), 1, 1);
    amounts->addWidget(Caption(QStringLiteral("&Position in List"), txtPosition, this), 2, 0);
    amounts->addWidget(txtPosition, 2, 1, Qt::AlignLeft);
    txtPosition->setFixedWidth(txtPosition->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(names);
    layout->addWidget(measured);
    layout->addLayout(amounts);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    setTabOrder(txtResourceName, txtShortName);
    setTabOrder(txtShortName, txtUnits);
    setTabOrder(txtUnits, txtCost);
    setTabOrder(txtCost, txtPosition);
    setTabOrder(txtPosition, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    setTabOrder(cmdCancel, optTime);

    for (QLineEdit* box : {txtResourceName, txtShortName, txtUnits, txtCost, txtPosition})
        box->installEventFilter(this);
    for (QLineEdit* box : {txtResourceName, txtShortName, txtUnits, txtCost})
        connect(box, &QLineEdit::textChanged, this, ui::Guarded(this, &frm15zSRMAdd::EnableOK));
    connect(optTime, &QRadioButton::clicked, this, ui::Guarded([] { core::Trace(QStringLiteral("optTime_Click")); }));
    connect(optItem, &QRadioButton::clicked, this, ui::Guarded([] { core::Trace(QStringLiteral("optItem_Click")); }));
    BindNumberBoxes();
    connect(cmdOK, &QPushButton::clicked, this, ui::Guarded(this, &frm15zSRMAdd::cmdOK_Click));
    connect(cmdCancel, &QPushButton::clicked, this, ui::Guarded(this, &frm15zSRMAdd::cmdCancel_Click));
}

bool frm15zSRMAdd::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box)
        return ModalDialog::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        const QString name = box == txtResourceName ? QStringLiteral("txtResourceName_GotFocus")
                             : box == txtShortName  ? QStringLiteral("txtShortName_GotFocus")
                             : box == txtUnits      ? QStringLiteral("txtUnits_GotFocus")
                             : box == txtCost       ? QStringLiteral("txtCost_GotFocus")
                                                    : QStringLiteral("txtPosition_GotFocus");
        core::Trace(name);
        if (box == txtCost || box == txtPosition)
            box->selectAll();
    }
    return ModalDialog::eventFilter(watched, event);
}

// A cost as the list keeps it (an amount to the cent, as in its Cost column) and a position
// held to the list's places: what is no number is refused with a message when the typing ends.
void frm15zSRMAdd::BindNumberBoxes()
{
    mCostNumber = new NumberBox(txtCost, this, kCostKind, QStringLiteral("The cost"), QStringLiteral("cost"));
    mCostNumber->held = [this] { return mCost; };
    mCostNumber->take = [this](double v) { mCost = std::round(v * 100.0) / 100.0; };
    mCostNumber->show = [](double v) { return v == 0.0 ? QString() : model::textnum::PlainNumber(v); };

    const model::textnum::NumberKind position{
        .min = 1, .max = double(mMaster.typeCount() + 1), .whole = true, .held = true};
    mPositionNumber = new NumberBox(txtPosition, this, position, QStringLiteral("The position in the list"),
                                    QStringLiteral("position"));
    mPositionNumber->held = [this] { return double(mPosition); };
    mPositionNumber->take = [this](double v) { mPosition = int(v); };
    mPositionNumber->show = [](double v) { return QString::number(int(v)); };
}

void frm15zSRMAdd::showEvent(QShowEvent* event)
{
    // The position the worksheet proposed is the one to come back to.
    mPositionNumber->commit();
    ModalDialog::showEvent(event);
}

void frm15zSRMAdd::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        cmdCancel->click();
        return;
    }
    ModalDialog::keyPressEvent(event);
}

void frm15zSRMAdd::EnableOK()
{
    double cost = 0;
    const bool filled = !txtResourceName->text().isEmpty() && !txtShortName->text().isEmpty() &&
                        !txtUnits->text().isEmpty() && !txtCost->text().isEmpty();
    cmdOK->setEnabled(filled && frm15SRMaster::ReadCost(txtCost->text(), &cost));
}

void frm15zSRMAdd::cmdOK_Click()
{
    core::Trace(QStringLiteral("cmdOK_Click"));
    // What is being typed is judged first: a refused number adds nothing.
    if (!mCostNumber->commit() || !mPositionNumber->commit())
        return;
    double cost = 0;
    if (!frm15SRMaster::ReadCost(txtCost->text(), &cost))
        return;   // OK is only enabled for an amount
    const QString unitType = optTime->isChecked() ? QStringLiteral("time") : QStringLiteral("item");
    // An empty position puts the type first.
    const int position = std::clamp(mPosition, 1, mMaster.typeCount() + 1);
    // The new row and the renumbered rows after it are stored together or not at all.
    core::SaveAllOrNothing([&] {
        auto typ = model::AddSRTypeRecord(position, txtResourceName->text(), txtShortName->text(), unitType,
                                          txtUnits->text(), cost);
        mMaster.InsertType(typ, position);
    });
    accept();
}

void frm15zSRMAdd::cmdCancel_Click()
{
    core::Trace(QStringLiteral("cmdCancel_Click"));
    reject();
}

} // namespace worksheets
