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

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void titleIsTheCaptionOfEveryBox();
    void onlyTheMainWindowIsShown();
    void resultsUseTheUserSeparator();
    void qtTextsInTheUserLanguage_data();
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

void StartupTest::qtTextsInTheUserLanguage_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("cancel");
    QTest::addColumn<QString>("save");
    QTest::newRow("Russian") << QLocale(QLocale::Russian, QLocale::Russia) << "Отмена" << "Сохранить";
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << "Cancel" << "Save";
}

// The catalogue comes from Debian's package of Qt's translations, whichever locales the system
// has installed.
void StartupTest::qtTextsInTheUserLanguage()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, cancel);
    QFETCH(QString, save);
    const bool russian = locale.language() == QLocale::Russian;
    QCOMPARE(InstallQtTranslations(*qApp, locale), true);
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text().remove(u'&'), cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Save)->text().remove(u'&'), save);
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QCOMPARE(menu->actions().constFirst()->text().remove(u'&').startsWith(QStringLiteral("Отменить")), russian);
    for (QTranslator* translator : qApp->findChildren<QTranslator*>())
        QCoreApplication::removeTranslator(translator);
}

QTEST_MAIN(StartupTest)
#include "tst_Startup.moc"
