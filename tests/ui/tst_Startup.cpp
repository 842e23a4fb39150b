// Start-up as the program does it: the title of every box, the three windows, and the user's
// decimal separator reaching the results.

#include "MainWindowFixture.h"
#include "Startup.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <memory>
#include <tuple>

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void titleIsTheCaptionOfEveryBox();
    void onlyTheMainWindowIsShown();
    void resultsUseTheUserSeparator();
    void qtTextsInTheUserLanguage();
};

void StartupTest::titleIsTheCaptionOfEveryBox()
{
    SetApplicationTitle();
    QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Korvelin"));
    QString caption;
    QTimer::singleShot(0, [&caption] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            caption = box->windowTitle();
            box->accept();
        }
    });
    DialogMessageSink sink;
    sink.ShowMessage(QStringLiteral("Версия 1.0"));
    QCOMPARE(caption, QStringLiteral("Korvelin"));
}

void StartupTest::onlyTheMainWindowIsShown()
{
    SetApplicationTitle();
    MainWindowFixture f(UserDecimalSeparator());
    QVERIFY(f.Form().isVisible());
    QVERIFY(!f.LookMap().isVisible());
    QVERIFY(!f.ProletTEMP().isVisible());
    QCOMPARE(f.Form().windowTitle(), QStringLiteral("Расчет среднего пролета для трубопровода (газопровода)"));
    VERIFY_NO_UNEXPECTED_BOX(f.Sink);
}

void StartupTest::resultsUseTheUserSeparator()
{
    const QString separator = UserDecimalSeparator();
    QCOMPARE(separator, QLocale::system().decimalPoint());
    MainWindowFixture f(separator);
    f.Calculate();
    QCOMPARE(f.Text("Edit6"), QStringLiteral("18") + separator + QStringLiteral("441"));
    VERIFY_NO_UNEXPECTED_BOX(f.Sink);
}

// The catalogue comes from Debian's package of Qt's translations, whichever locales the system
// has installed; an English locale keeps Qt's English.
void StartupTest::qtTextsInTheUserLanguage()
{
    for (const auto& [locale, cancel, undo] :
         {std::tuple{QLocale(QLocale::Russian, QLocale::Russia), "Отмена", "Отменить действие"},
          std::tuple{QLocale(QLocale::English, QLocale::UnitedStates), "Cancel", "Undo"}}) {
        QVERIFY(InstallQtTranslations(*qApp, locale));
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text().remove(u'&'), QString::fromUtf8(cancel));
        QLineEdit field;
        const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        QCOMPARE(menu->actions().constFirst()->text().remove(u'&').section(u'\t', 0, 0), QString::fromUtf8(undo));
        for (QTranslator* translator : qApp->findChildren<QTranslator*>())
            QCoreApplication::removeTranslator(translator);
    }
}

QTEST_MAIN(StartupTest)
#include "tst_Startup.moc"
