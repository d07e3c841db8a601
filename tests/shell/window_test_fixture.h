#pragma once

#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>

#include "language/command_table.h"
#include "language/parser.h"
#include "platform/qt_message_box.h"
#include "platform/rtf.h"
#include "platform/settings_store.h"
#include "shell/frmDocument.h"
#include "shell/frmMain.h"
#include "shell/options.h"
#include "support/test_environment.h"

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace shell::testing {

// The texts panel 1 of the status bar showed, in order, as the bar painted them.
struct StatusLog : QObject {
    QStringList texts;

    bool eventFilter(QObject* panel, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        const QString text = static_cast<QLabel*>(panel)->text();
        if (texts.isEmpty() || texts.last() != text)
            texts.append(text);
        return false;
    }
};

struct MessageShown { QString text, title; };

// A window test's world: an empty settings store, a temporary working folder, the options at
// their defaults, an empty keyword table, and a user who answers file, print and save questions
// as the test says, every question recorded.
class WindowTest : public ::testing::Test {
protected:
    WindowTest()
    {
        options = {};
        language::ResetCommandTable();
        language::InitParser();
        platform::CommonDialog::setAnswerHook([this](const QString& kind, platform::CommonDialog& dialog) {
            const bool printer = kind == u"Printer";
            dialogs.append(kind + u'|' + dialog.DialogTitle + u'|'
                           + (printer ? QString::number(dialog.Flags) : dialog.Filter));
            const QString answer = Next(printer ? printAnswers : fileAnswers, QString(), dialog.DialogTitle);
            if (!printer)
                dialog.FileName = answer;
            else if (QPrinter* pdf = platform::PrinterOf(dialog.hDC()))
                pdf->setOutputFormat(QPrinter::PdfFormat), pdf->setOutputFileName(answer);
            return !answer.isEmpty();
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
        if (answers.empty())
            return ADD_FAILURE() << "unexpected question: " << question.toStdString(), otherwise;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // Creates the main window as the start-up does and shows it, then records the status texts.
    frmMain& Start()
    {
        main = std::make_unique<frmMain>();
        main->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        main->sbStatusBarPanels[0]->installEventFilter(&status);
        status.texts.clear();
        return *main;
    }

    // Ends the program as the user does, answering the save questions; true when it ended.
    bool Exit(std::initializer_list<platform::MsgBoxResult> answers = {})
    {
        saveAnswers.insert(saveAnswers.end(), answers);
        main->mnuFileExit->trigger();
        if (main->isVisible())
            return false;
        main.reset();
        return true;
    }

    void Open(const QString& path)
    {
        fileAnswers.push_back(path);
        main->mnuFileOpen->trigger();
    }

    static void Trigger(std::initializer_list<QAction*> items)
    {
        for (QAction* item : items)
            item->trigger();
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

    QStringList Captions() const { return Each(ScriptWindows(), &frmDocument::caption); }
    QStringList MessageTexts() const { return Each(messages, &MessageShown::text); }

    template <typename List, typename Field>
    static QStringList Each(const List& list, Field field)
    {
        QStringList texts;
        for (const auto& item : list)
            texts.append(std::invoke(field, item));
        return texts;
    }

    // The whole text of a window, read back through its RTF, with a colour for each character.
    static platform::ColoredText Content(frmDocument& document)
    {
        document.rtfText.setSelStart(0);
        document.rtfText.setSelLength(1 << 30);
        return platform::ReadRtf(document.rtfText.SelRTF().toLatin1());
    }

    // A file of expected results, beside this one.
    static QByteArray Golden(const char* name)
    {
        return support::TestEnvironment::readFile(QFileInfo(__FILE__).path() + "/golden/" + name);
    }

    // What a test saw, one item a line (line ends as \r and \n, the test's folder as <root>),
    // against a golden file.
    void ExpectGolden(QStringList seen, const char* name) const
    {
        for (QString& item : seen)
            item.replace(environment.root(), "<root>").replace(u'\r', "\\r").replace(u'\n', "\\n");
        EXPECT_EQ(seen.join(u'\n') + u'\n', QString::fromUtf8(Golden(name)));
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
