#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace orvane {

void QtDialogs::beep()
{
    QApplication::beep();
}

MessageAnswer QtDialogs::messageBox(const std::string &text,
                                    const std::string &title,
                                    MessageIcon icon,
                                    MessageButtons buttons)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(text));
    switch (icon) {
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::None:
        break;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return result == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::string QtDialogs::inputBox(const std::string &prompt,
                                const std::string &title,
                                const std::string &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent,
                                               QString::fromStdString(title),
                                               QString::fromStdString(prompt),
                                               QLineEdit::Normal,
                                               QString::fromStdString(defaultText),
                                               &ok);
    return ok ? text.toStdString() : std::string();
}

namespace {

// "Files (*.CFG)| *.CFG" -> "Files (*.CFG)"; the pattern in the display name
// is what Qt filters on. Matching ignores case so .cfg files show as well.
QString qtFilter(const std::string &filter)
{
    const auto bar = filter.find('|');
    return QString::fromStdString(bar == std::string::npos ? filter : filter.substr(0, bar));
}

} // namespace

std::string QtDialogs::openFileName(const std::string &title, const std::string &filter)
{
    QFileDialog dialog(m_parent, QString::fromStdString(title), QString(), qtFilter(filter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first().toStdString();
}

std::string QtDialogs::saveFileName(const std::string &title, const std::string &filter)
{
    QFileDialog dialog(m_parent, QString::fromStdString(title), QString(), qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const auto dot = filter.rfind("*.");
    if (dot != std::string::npos)
        dialog.setDefaultSuffix(QString::fromStdString(filter.substr(dot + 2)));
    // Replacing an existing file is part of Save As; no extra question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first().toStdString();
}

} // namespace orvane
