#pragma once

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>
#include <memory>

#include "language/command_table.h"
#include "language/parser.h"
#include "language/starships.h"
#include "platform/qt_color.h"
#include "platform/qt_common_dialog.h"
#include "platform/qt_message_box.h"
#include "platform/settings_store.h"
#include "shell/frmDocument.h"
#include "shell/frmMain.h"
#include "shell/options.h"
#include "support/test_environment.h"

namespace shell::testing {

// The texts panel 1 of the status bar showed, in order, as the bar painted them.
class StatusLog : public QObject {
public:
    QStringList texts;

protected:
    bool eventFilter(QObject* panel, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const QString text = static_cast<QLabel*>(panel)->text();
            if (texts.isEmpty() || texts.last() != text)
                texts.append(text);
        }
        return false;
    }
};

// A message box shown to the user.
struct MessageShown {
    QString text;
    QString title;
};

// A window test's world: an empty settings store, a temporary working folder, the option
// variables at their defaults, an empty keyword table, and a user who answers file dialogs and
// message boxes as the test says, every question recorded.
class WindowTest : public ::testing::Test {
protected:
    WindowTest()
    {
        options = {};
        language::ResetCommandTable();
        language::InitParser();
        platform::CommonDialog::setAnswerHook([this](const QString& kind, platform::CommonDialog& dialog) {
            if (kind == u"Printer")
                return AnswerPrinter(dialog);
            dialogs.append(kind + u'|' + dialog.DialogTitle + u'|' + dialog.Filter);
            dialog.FileName = Next(fileAnswers, QString(), kind);
            return !dialog.FileName.isEmpty();
        });
        platform::setMsgBoxHook([this](const QString& text, const QString& title) {
            messages.push_back({text, title});
            return title == u"Save?" ? Next(saveAnswers, platform::MsgBoxResult::Cancel, text)
                                     : platform::MsgBoxResult::Ok;
        });
    }

    ~WindowTest() override
    {
        main.reset();
        platform::CommonDialog::setAnswerHook(nullptr);
        platform::setMsgBoxHook(nullptr);
    }

    // The answer the test gave for the question; without one, the question was not expected.
    template <typename Answer>
    static Answer Next(std::deque<Answer>& answers, Answer otherwise, const QString& question)
    {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << question.toStdString();
            return otherwise;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // Prints to the PDF file the test gave; without one, cancels.
    bool AnswerPrinter(platform::CommonDialog& dialog)
    {
        dialogs.append("Printer|" + dialog.DialogTitle + u'|' + QString::number(dialog.Flags));
        QPrinter* printer = platform::PrinterOf(dialog.hDC());
        const QString pdf = Next(printAnswers, QString(), dialog.DialogTitle);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return !pdf.isEmpty();
    }

    // Creates the main window as the start-up does and shows it, then records the status texts.
    frmMain& Start()
    {
        main.reset();
        main = std::make_unique<frmMain>();
        main->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        main->sbStatusBarPanels[0]->installEventFilter(&status);
        status.texts.clear();
        return *main;
    }

    // Ends the program as the user does, answering the save questions with the answers given.
    // True when the main window closed.
    bool Exit(std::initializer_list<platform::MsgBoxResult> answers = {})
    {
        saveAnswers.insert(saveAnswers.end(), answers);
        main->mnuFileExit->trigger();
        const bool closed = !main->isVisible();
        if (closed)
            main.reset();
        return closed;
    }

    void Open(const QString& path)
    {
        fileAnswers.push_back(path);
        main->mnuFileOpen->trigger();
    }

    // The script windows still open, in the order they were created.
    QList<frmDocument*> ScriptWindows() const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QList<frmDocument*> documents;
        for (QMdiSubWindow* window : main->mdiArea->subWindowList())
            documents.append(qobject_cast<frmDocument*>(window->widget()));
        return documents;
    }

    QStringList Captions() const
    {
        QStringList captions;
        for (const frmDocument* document : ScriptWindows())
            captions.append(document->caption());
        return captions;
    }

    QStringList MessageTexts() const
    {
        QStringList texts;
        for (const MessageShown& message : messages)
            texts.append(message.text);
        return texts;
    }

    // The colour the box gives the character at a position of its text.
    static QColor ColorOf(const frmDocument& document, int position)
    {
        return platform::ToQColor(document.rtfText.ColorAt(position));
    }

    static QString Stored(const QString& section, const QString& key)
    {
        return platform::GetSetting(kApplicationName, section, key, QStringLiteral("<missing>"));
    }

    static void Store(const QString& section, const QString& key, const QString& value)
    {
        platform::SaveSetting(kApplicationName, section, key, value);
    }

    support::TestEnvironment environment;
    std::unique_ptr<frmMain> main;
    std::deque<QString> fileAnswers;  // the path chosen in the next file dialog; empty: cancel
    std::deque<platform::MsgBoxResult> saveAnswers;
    std::deque<QString> printAnswers;  // the PDF file the next print dialog prints to; empty: cancel
    QStringList dialogs;  // "kind|title|filter" ("Open", "Save", ...), "Printer|title|flags"
    std::vector<MessageShown> messages;
    StatusLog status;
};

}  // namespace shell::testing
