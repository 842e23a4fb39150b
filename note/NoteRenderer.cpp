#include "NoteRenderer.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace {

QString Text(const std::string& utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

constexpr qreal BodyPointSize = 9.5;

QTextCharFormat CharFormat(qreal pointSize, bool bold)
{
    QTextCharFormat format;
    format.setFontPointSize(pointSize);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    return format;
}

Qt::Alignment AlignmentOf(korvelin::CellAlignment alignment)
{
    switch (alignment) {
    case korvelin::CellAlignment::Right:
        return Qt::AlignRight;
    case korvelin::CellAlignment::Center:
        return Qt::AlignHCenter;
    case korvelin::CellAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

void InsertTable(QTextCursor& cursor, const korvelin::NoteTable& table)
{
    if (table.Rows.empty())
        return;
    std::size_t columns = 0;
    for (const auto& row : table.Rows)
        columns = std::max(columns, row.size());
    QTextTableFormat format;
    format.setBorder(0.5);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(Qt::black);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(3);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setHeaderRowCount(table.HeaderRows);
    if (table.WidthPercent.size() == columns) {
        QList<QTextLength> widths;
        for (int percent : table.WidthPercent)
            widths.append(QTextLength(QTextLength::PercentageLength, percent));
        format.setColumnWidthConstraints(widths);
    }
    format.setTopMargin(4);
    format.setBottomMargin(6);
    QTextTable* textTable = cursor.insertTable(int(table.Rows.size()), int(columns), format);
    for (std::size_t r = 0; r < table.Rows.size(); ++r) {
        const bool header = int(r) < table.HeaderRows;
        for (std::size_t c = 0; c < table.Rows[r].size(); ++c) {
            const korvelin::NoteCell& cell = table.Rows[r][c];
            QTextTableCell textCell = textTable->cellAt(int(r), int(c));
            if (header) {
                QTextCharFormat shade = textCell.format();
                shade.setBackground(QColor(0xE8, 0xE8, 0xE8));
                textCell.setFormat(shade);
            }
            QTextCursor cellCursor = textCell.firstCursorPosition();
            QTextBlockFormat block;
            block.setAlignment(c < table.Alignment.size() && !header
                                   ? AlignmentOf(table.Alignment[c])
                                   : Qt::AlignLeft);
            cellCursor.setBlockFormat(block);
            cellCursor.insertText(Text(cell.Text), CharFormat(BodyPointSize, cell.Bold || header));
        }
    }
    cursor.movePosition(QTextCursor::End);
}

QPageLayout::Orientation OrientationOf(const korvelin::NoteDocument& note)
{
    return note.Orientation == korvelin::PageOrientation::Landscape ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait;
}

// Why a file could not be written, in the user's words.
QString FailureReason(const QSaveFile& file, const QString& path)
{
    const QFileInfo info(path);
    const QDir folder = info.absoluteDir();
    if (!folder.exists())
        return QStringLiteral("папка %1 не существует").arg(QDir::toNativeSeparators(folder.path()));
    if (info.isDir())
        return QStringLiteral("это имя занято папкой");
    if (!QFileInfo(folder.path()).isWritable() || file.error() == QFileDevice::PermissionsError)
        return QStringLiteral("нет прав на запись в папку %1")
            .arg(QDir::toNativeSeparators(folder.path()));
    switch (file.error()) {
    case QFileDevice::WriteError:
    case QFileDevice::ResourceError:
        return QStringLiteral("ошибка записи, возможно, диск заполнен (%1)").arg(file.errorString());
    default:
        return file.errorString();
    }
}

} // namespace

std::unique_ptr<QTextDocument> RenderNote(const korvelin::NoteDocument& note)
{
    auto document = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(BodyPointSize);
    document->setDefaultFont(font);
    document->setDocumentMargin(0);
    document->setMetaInformation(QTextDocument::DocumentTitle, Text(note.Title));

    QTextCursor cursor(document.get());
    QTextBlockFormat title;
    title.setAlignment(Qt::AlignHCenter);
    title.setBottomMargin(8);
    cursor.setBlockFormat(title);
    cursor.insertText(Text(note.Title), CharFormat(14, true));

    for (const korvelin::NoteBlock& block : note.Blocks) {
        QTextBlockFormat format;
        if (const auto* heading = std::get_if<korvelin::NoteHeading>(&block)) {
            format.setTopMargin(10);
            format.setBottomMargin(2);
            cursor.insertBlock(format);
            cursor.insertText(Text(heading->Text), CharFormat(11.5, true));
        } else if (const auto* paragraph = std::get_if<korvelin::NoteParagraph>(&block)) {
            format.setTopMargin(paragraph->Bold ? 6 : 3);
            format.setBottomMargin(2);
            cursor.insertBlock(format);
            cursor.insertText(Text(paragraph->Text), CharFormat(BodyPointSize, paragraph->Bold));
        } else {
            InsertTable(cursor, std::get<korvelin::NoteTable>(block));
        }
    }
    return document;
}

void PrintNote(const korvelin::NoteDocument& note, QPagedPaintDevice& device)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(OrientationOf(note));
    const std::unique_ptr<QTextDocument> document = RenderNote(note);
    document->print(&device);
}

QString WriteNotePdf(const korvelin::NoteDocument& note, const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Не удалось сохранить файл «%1»: %2.").arg(shown, FailureReason(file, path));
    {
        QPdfWriter writer(&file);
        writer.setTitle(Text(note.Title));
        writer.setCreator(QStringLiteral("Korvelin"));
        writer.setResolution(600);
        // The printout adds its own 2 cm margins round the text.
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        PrintNote(note, writer);
    }
    if (file.error() != QFileDevice::NoError || !file.commit()) {
        const QString reason = FailureReason(file, path);
        file.cancelWriting();
        return QStringLiteral("Не удалось сохранить файл «%1»: %2.").arg(shown, reason);
    }
    return {};
}

QString WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Не удалось сохранить файл «%1»: %2.").arg(shown, FailureReason(file, path));
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = FailureReason(file, path);
        file.cancelWriting();
        return QStringLiteral("Не удалось сохранить файл «%1»: %2.").arg(shown, reason);
    }
    return {};
}
