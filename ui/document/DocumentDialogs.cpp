#include "DocumentDialogs.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

namespace {

const QString FileFilter = QStringLiteral("Исходные данные Korvelin (*.korvelin)");
const QString AllFilesFilter = QStringLiteral("Все файлы (*)");

} // namespace

DocumentDialogs::~DocumentDialogs() = default;

SystemDocumentDialogs::SystemDocumentDialogs(QWidget* parent)
    : Parent(parent)
{
}

DocumentDialogs::Answer SystemDocumentDialogs::AskToSave(const QString& question)
{
    QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(), question,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, Parent);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString SystemDocumentDialogs::FileToOpen(const QString& folder)
{
    return QFileDialog::getOpenFileName(Parent, QStringLiteral("Открыть"), folder,
                                        FileFilter + QStringLiteral(";;") + AllFilesFilter);
}

QString SystemDocumentDialogs::FileToSave(const QString& suggested)
{
    return QFileDialog::getSaveFileName(Parent, QStringLiteral("Сохранить как"), suggested, FileFilter);
}
