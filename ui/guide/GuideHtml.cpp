// Makes the user guide's HTML pages from its Markdown text at build time: the whole guide, and
// one section as a page of its own (the page "Замечания и Предложения" opens), both through Qt's
// Markdown reader, so that they read as the guide's window shows them.
//
//   korvelin-guidehtml GUIDE.md WHOLE.html HEADING SECTION.html

#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextDocument>

#include <cstdio>

namespace {

bool WriteHtml(const QString& markdown, const QString& title, const QString& path)
{
    QTextDocument document;
    document.setMarkdown(markdown);
    document.setMetaInformation(QTextDocument::DocumentTitle, title);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(document.toHtml().toUtf8()) < 0
        || !file.flush()) {
        std::fprintf(stderr, "korvelin-guidehtml: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 5) {
        std::fprintf(stderr, "usage: korvelin-guidehtml GUIDE.md WHOLE.html HEADING SECTION.html\n");
        return 2;
    }
    QFile guide(arguments[1]);
    if (!guide.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "korvelin-guidehtml: cannot read %s\n", qPrintable(arguments[1]));
        return 1;
    }
    const QString markdown = QString::fromUtf8(guide.readAll());
    const QString title = markdown.section(u'\n', 0, 0).remove(QRegularExpression(QStringLiteral("^#+\\s*")));

    // The section runs from its heading of the second level to the next one.
    const QString heading = QStringLiteral("## ") + arguments[3];
    const qsizetype start = markdown.indexOf(QStringLiteral("\n") + heading + u'\n');
    if (start < 0) {
        std::fprintf(stderr, "korvelin-guidehtml: no section \"%s\"\n", qPrintable(arguments[3]));
        return 1;
    }
    const qsizetype end = markdown.indexOf(QStringLiteral("\n## "), start + 1);
    const QString section = QStringLiteral("# ") + arguments[3] + u'\n'
                            + markdown.mid(start + 1 + heading.size(), end < 0 ? -1 : end - start - 1 - heading.size())
                            + QStringLiteral("\n\nВсе разделы — в [руководстве пользователя](guide.ru.html).\n");
    return WriteHtml(markdown, title, arguments[2]) && WriteHtml(section, title + QStringLiteral(": ") + arguments[3], arguments[4])
               ? 0
               : 1;
}
