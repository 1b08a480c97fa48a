#include "platform/ui/qtprompter.h"

#include "platform/ui/printersetup.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include "platform/ui/screen.h"

namespace ui {

namespace {

struct ButtonMap {
    Answer answer;
    QMessageBox::StandardButton button;
};

QList<ButtonMap> ButtonsOf(Buttons buttons)
{
    switch (buttons) {
    case Buttons::OK: return {{Answer::OK, QMessageBox::Ok}};
    case Buttons::OKCancel: return {{Answer::OK, QMessageBox::Ok}, {Answer::Cancel, QMessageBox::Cancel}};
    case Buttons::YesNo: return {{Answer::Yes, QMessageBox::Yes}, {Answer::No, QMessageBox::No}};
    case Buttons::YesNoCancel:
        return {{Answer::Yes, QMessageBox::Yes}, {Answer::No, QMessageBox::No}, {Answer::Cancel, QMessageBox::Cancel}};
    case Buttons::RetryCancel: return {{Answer::Retry, QMessageBox::Retry}, {Answer::Cancel, QMessageBox::Cancel}};
    case Buttons::AbortRetryIgnore:
        return {{Answer::Abort, QMessageBox::Abort}, {Answer::Retry, QMessageBox::Retry}, {Answer::Ignore, QMessageBox::Ignore}};
    }
    return {{Answer::OK, QMessageBox::Ok}};
}

QMessageBox::Icon IconOf(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// While the hourglass is up the user must still see a pointer to answer with.
class ArrowWhileAsking {
public:
    ArrowWhileAsking() : mOn(QApplication::overrideCursor() != nullptr)
    {
        if (mOn)
            QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    }
    ~ArrowWhileAsking()
    {
        if (mOn)
            QApplication::restoreOverrideCursor();
    }
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

private:
    bool mOn;
};

} // namespace

Answer QtPrompter::ask(const Message& message)
{
    ArrowWhileAsking arrow;
    QMessageBox box(mParent);
    box.setWindowTitle(message.title);
    box.setIcon(IconOf(message.icon));
    box.setTextFormat(Qt::PlainText);
    QString text = message.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(text);

    const QList<ButtonMap> map = ButtonsOf(message.buttons);
    QMessageBox::StandardButtons standard;
    for (const ButtonMap& b : map)
        standard |= b.button;
    box.setStandardButtons(standard);
    // The box takes the width its text and buttons need; a short message would leave the
    // title cut in the title bar.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(TitleBarWidth(box, message.title), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());

    Answer fallback = map.first().answer;   // what closing the box means
    for (const ButtonMap& b : map) {
        if (b.answer == message.defaultButton)
            box.setDefaultButton(b.button);
        if (b.answer == Answer::Cancel || (map.size() == 1))
            fallback = b.answer;
    }
    if (map.size() > 1 && fallback != Answer::Cancel)
        fallback = message.defaultButton;

    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const ButtonMap& b : map)
        if (b.button == clicked)
            return b.answer;
    return fallback;
}

QString DefaultSuffix(const QString& filter)
{
    static const QRegularExpression ext(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const auto m = ext.match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString QtPrompter::chooseFile(const FileDialog& dialog)
{
    ArrowWhileAsking arrow;
    QFileDialog fd(mParent, dialog.title);
    fd.setFileMode(dialog.kind == FileDialog::Kind::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    fd.setAcceptMode(dialog.kind == FileDialog::Kind::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    // The program asks its own overwrite question, with its own wording.
    fd.setOption(QFileDialog::DontConfirmOverwrite, true);
    fd.setNameFilter(dialog.filter);
    fd.setDefaultSuffix(DefaultSuffix(dialog.filter));
    const QString folder = dialog.folder.isEmpty() ? mLastFolder : dialog.folder;
    if (!folder.isEmpty())
        fd.setDirectory(folder);
    if (!dialog.fileName.isEmpty())
        fd.selectFile(dialog.fileName);
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty())
        return {};
    const QString chosen = fd.selectedFiles().first();
    mLastFolder = QFileInfo(chosen).absolutePath();
    return chosen;
}

PrintChoice QtPrompter::choosePrinter(const PrintDialog& dialog)
{
    ArrowWhileAsking arrow;
    return SharedPrinter().choose(dialog, mParent);
}

} // namespace ui
