#include "shell/qt_apply_string_table.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "support/script_generator.h"

namespace shell {
namespace {

// Menu items (named mnu...), toolbar tool tips, the caption, labels, tabs and list headers take
// the row whose id is their whole text or tag; other controls take the rows that their tag and
// tool tip begin with. Anything else stays as designed.
TEST(ApplyStringTable, ControlsTakeTheRowsTheirTextsOrTagsName)
{
    QMainWindow form;
    form.setProperty("tag", "1027");
    QMenu* file = form.menuBar()->addMenu("1000");
    file->setObjectName("mnuFile");
    form.menuBar()->addMenu("1033")->menuAction()->setObjectName("mnuHelp");
    for (const auto& [name, caption] : std::vector<std::pair<const char*, const char*>>{
             {"mnuFileOpen", " 1002 "}, {"mnuHelpAbout", "1036"}, {"mnuFileNMW", "New Mission Wizard"},
             {"mnuFileBar0", "-"}, {"mnuFileMRU", ""}, {"mnuFileNoRow", "1007"}, {"mnuFileTooLarge", "66573"},
             {"fileClose", "1003"}})
        file->addAction(caption)->setObjectName(name);
    QToolBar* toolbar = form.addToolBar("tbToolBar");
    for (const char* toolTip : {"1037", "Launch Independence War", "1038abc"})
        toolbar->addAction(QString())->setToolTip(toolTip);
    auto* page = new QWidget(&form);
    form.setCentralWidget(page);
    const auto tagged = [](auto* control, const char* tag) {
        control->setProperty("tag", tag);
        return control;
    };
    auto* label = tagged(new QLabel("design", page), "1042");
    auto* labelWithLetters = tagged(new QLabel("design", page), "1042abc");
    auto* tabs = new QTabBar(page);
    tabs->addTab("design");
    tabs->setTabData(0, "1029");
    tabs->setTabToolTip(0, "1030");
    auto* list = new QTreeWidget(page);
    list->setColumnCount(2);
    list->headerItem()->setData(0, Qt::UserRole, "1031");
    list->headerItem()->setText(1, "Line");
    auto* table = new QTableWidget(0, 1, page);
    table->setHorizontalHeaderItem(0, new QTableWidgetItem("design"));
    table->horizontalHeaderItem(0)->setData(Qt::UserRole, "1032");
    auto* frame = tagged(new QGroupBox("design", page), "1042");
    frame->setToolTip("1041");
    auto* textBox = tagged(new QLineEdit("typed", page), "1037");
    // Each text is both tag and tool tip of a button: the row replaces both, or neither changes.
    for (const char* text : {"1037abc", " 10 38", "1038.6x", "1041 printer", "0", "-1037", "66573", "abc 1037"})
        tagged(new QPushButton("design", page), text)->setToolTip(text);

    ApplyStringTable(form);

    QStringList texts = {form.windowTitle()};
    for (const QAction* action : form.menuBar()->actions() + file->actions() + toolbar->actions())
        texts += action->text().isEmpty() ? action->toolTip() : action->text();
    texts += {label->text(), labelWithLetters->text(), tabs->tabText(0), tabs->tabToolTip(0),
              list->headerItem()->text(0), list->headerItem()->text(1), table->horizontalHeaderItem(0)->text(),
              frame->title(), frame->toolTip(), textBox->text()};
    for (const QPushButton* button : page->findChildren<QPushButton*>())
        texts += button->text() + '|' + button->toolTip();
    QStringList expected;
    for (const QStringList& c : support::GoldenCases("shell/golden/string_table_applied.txt"))
        expected += c.value(0) == "<empty>" ? QString() : c[0];
    EXPECT_EQ(texts, expected);
}

}  // namespace
}  // namespace shell
