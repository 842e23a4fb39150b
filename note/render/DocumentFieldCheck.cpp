#include "DocumentFieldCheck.h"

#include "SheetForms.h"

#include <QFont>
#include <QRawFont>

QString DocumentFieldsFontProblem(const korvelin::DocumentFields& fields)
{
    const std::string problem = korvelin::DocumentFieldsProblem(fields);
    if (!problem.empty())
        return QString::fromStdString(problem);
    // The font of the title block and the text.
    QFont font(NoteFontFamilyName());
    font.setStyleHint(QFont::SansSerif);
    const QRawFont raw = QRawFont::fromFont(font);
    for (const korvelin::DocumentFieldKey& key : korvelin::kDocumentFieldKeys) {
        const std::string& text = fields.*key.Field;
        for (const char32_t character : QString::fromStdString(text).toUcs4()) {
            if (character == U' ' || raw.supportsCharacter(character))
                continue;
            return QStringLiteral("поле «%1»: знак «%2» (U+%3) нельзя показать шрифтом документа")
                .arg(QString::fromUtf8(key.Caption.data(), qsizetype(key.Caption.size())),
                     QString::fromUcs4(&character, 1),
                     QStringLiteral("%1").arg(uint(character), 4, 16, QLatin1Char('0')).toUpper());
        }
    }
    return {};
}

QString CheckDocumentFields(const korvelin::DocumentFields& fields)
{
    const QString problem = DocumentFieldsFontProblem(fields);
    if (problem.isEmpty())
        return problem;
    return QString::fromStdString(korvelin::AsSentence(problem.toStdString())) + QLatin1Char('.');
}
