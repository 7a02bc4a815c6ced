#include "mainwindow/UnicodeMessageBox.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

namespace {
UnicodeMessageBoxHandler &handler()
{
    static UnicodeMessageBoxHandler h;
    return h;
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & UnicodeMessageBoxRequest::IconMask) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}
} // namespace

void setUnicodeMessageBoxHandler(UnicodeMessageBoxHandler h)
{
    handler() = std::move(h);
}

int UnicodeMessageBox(const QString &prompt, int buttons, const QString &title,
                      const std::optional<QString> &iconName, int owner)
{
    QWidget *active = owner == -1 ? QApplication::activeWindow() : nullptr;
    const UnicodeMessageBoxRequest request
            = makeUnicodeMessageBoxRequest(prompt, buttons, title, iconName, active != nullptr,
                                           QString::fromLatin1(ApplicationTitle));
    if (handler())
        return handler()(request);

    QMessageBox box(request.hasOwner ? active : nullptr);
    box.setWindowTitle(request.title);
    box.setText(request.prompt);
    box.setLayoutDirection(Qt::RightToLeft);
    if (request.iconName) {
        const QIcon named = QIcon::fromTheme(*request.iconName, QApplication::windowIcon());
        box.setIconPixmap(named.pixmap(32, 32));
    } else {
        box.setIcon(iconOf(request.style));
    }
    QAbstractButton *yes = nullptr;
    QAbstractButton *no = nullptr;
    QAbstractButton *ok = nullptr;
    if ((request.style & 0x0F) == MbYesNo) {
        yes = box.addButton(QMessageBox::Yes);
        no = box.addButton(QMessageBox::No);
        box.setDefaultButton(static_cast<QPushButton *>(yes));
        box.setEscapeButton(no);
    } else {
        ok = box.addButton(QMessageBox::Ok);
        box.setEscapeButton(ok);
    }
    box.exec();
    QAbstractButton *pressed = box.clickedButton();
    if (pressed && pressed == yes)
        return IdYes;
    if (pressed && pressed == no)
        return IdNo;
    if (pressed && pressed == ok)
        return IdOk;
    return 0;
}
