#pragma once

// The windows of the program as start-up creates them, with a recorder in place of the message
// boxes, and helpers that find the controls by their names and drive them with real key and
// mouse events.

#include "AppWindows.h"
#include "CalculationNoteCommands.h"
#include "DocumentDialogs.h"
#include "InputModel.h"
#include "InputSetDocument.h"
#include "LMAP.h"
#include "RecordingSink.h"
#include "SpanTableWindow.h"
#include "Unit1.h"
#include "Unit2.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <memory>

// The file questions of a test that asks none: every question is cancelled, every file dialog.
class CancellingDialogs final : public DocumentDialogs
{
public:
    Answer AskToSave(const QString&) override { return Answer::Cancel; }
    QString FileToOpen(const QString&) override { return {}; }
    QString FileToSave(const QString&) override { return {}; }
};

// The user's settings in a folder of the test's own, so that no test reads or writes the
// developer's; emptied before each test, so that each starts as a first start does.
class TestSettings
{
public:
    // For initTestCase: false when the folder could not be made.
    bool PointIntoOwnFolder()
    {
        if (!Folder.isValid())
            return false;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Folder.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Folder.path());
        return true;
    }
    static void Clear() { QSettings(QStringLiteral("Korvelin"), QStringLiteral("korvelin")).clear(); }

private:
    QTemporaryDir Folder;
};

class MainWindowFixture
{
public:
    // Without dialogs every file question is cancelled; without settings the windows keep theirs
    // where the program does (the tests give each a configuration folder of its own).
    explicit MainWindowFixture(const QString& decimalSeparator = QStringLiteral(","),
                               DocumentDialogs* dialogs = nullptr, QSettings* settings = nullptr)
        : OwnSettings(settings == nullptr ? std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                                        QStringLiteral("Korvelin"),
                                                                        QStringLiteral("korvelin"))
                                          : nullptr)
        , Windows(CreateAppWindows(Sink, decimalSeparator, settings != nullptr ? *settings : *OwnSettings,
                                   dialogs != nullptr ? dialogs : &NoDialogs))
    {
        Form().show();
        if (!QTest::qWaitForWindowExposed(&Form()))
            qFatal("the main window was not exposed");
    }

    TFormProlet& Form() { return *Windows.FormProlet; }
    InputModel& Model() { return *Windows.Model; }
    InputSetDocument& Document() { return *Windows.Document; }
    CalculationNoteCommands& Note() { return *Windows.Note; }
    // The caption as the window system shows it: the file's name with "*" for unsaved changes.
    QString Caption() { return Form().windowHandle()->title(); }
    TLookMap& LookMap() { return *Windows.LookMap; }
    TProletTEMP& ProletTEMP() { return *Windows.ProletTEMP; }

    template <typename T>
    T* Find(const char* name)
    {
        T* control = Form().findChild<T*>(QString::fromLatin1(name));
        if (control == nullptr)
            qFatal("no control %s", name);
        return control;
    }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
    QPushButton* Button(const char* name) { return Find<QPushButton>(name); }

    QString Text(const char* name) { return Edit(name)->text(); }

    // The six results in the order SP static, dynamic, condensate, deflection, SNiP static,
    // SNiP deflection.
    QStringList Results()
    {
        QStringList texts;
        for (const char* name : {"Edit6", "Edit7", "Edit8", "Edit9", "Edit11", "Edit13"})
            texts << Text(name);
        return texts;
    }

    QString Report() { return ProletTEMP().Memo1->toPlainText(); }
    int ReportLines() { return ProletTEMP().Memo1->document()->blockCount(); }

    void Click(const char* button) { QTest::mouseClick(Button(button), Qt::LeftButton); }
    void Calculate() { Click("BitBtn1"); }

    // Puts the caret at the end of the field and types the text, key by key.
    void Type(const char* field, const QString& text)
    {
        QLineEdit* edit = Edit(field);
        edit->setFocus();
        edit->end(false);
        QTest::keyClicks(edit, text);
    }
    // Empties the field as a user does: backspace until the last character.
    void Empty(const char* field)
    {
        QLineEdit* edit = Edit(field);
        edit->setFocus();
        edit->end(false);
        const qsizetype length = edit->text().size();
        for (qsizetype i = 0; i < length; ++i)
            QTest::keyClick(edit, Qt::Key_Backspace);
    }
    // Replaces the whole text of a field by typing over it.
    void Retype(const char* field, const QString& text)
    {
        QLineEdit* edit = Edit(field);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // Picks an item of a selector with the keyboard, as a user does.
    void Pick(const char* combo, int index)
    {
        QComboBox* box = Combo(combo);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(box, Qt::Key_Down);
    }

    RecordingSink Sink;
    CancellingDialogs NoDialogs;
    std::unique_ptr<QSettings> OwnSettings;
    AppWindows Windows;
};
