#include "shell/qt_apply_string_table.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace shell {
namespace {

TEST(ApplyStringTable, MenuItemsAndToolbarButtonsWhoseWholeTextIsAnIdTakeItsRow)
{
    QMainWindow form;
    QMenu* file = form.menuBar()->addMenu("1000");
    file->setObjectName("mnuFile");
    QMenu* help = form.menuBar()->addMenu("1033");
    help->menuAction()->setObjectName("mnuHelp");
    const std::vector<std::pair<const char*, const char*>> items = {
        {"mnuFileOpen", " 1002 "}, {"mnuHelpAbout", "1036"}, {"mnuFileNMW", "New Mission Wizard"}, {"mnuFileBar0", "-"},
        {"mnuFileMRU", ""}, {"mnuFileNoRow", "1007"}, {"mnuFileTooLarge", "66573"}, {"fileClose", "1003"} /* not a menu item */};
    for (const auto& [name, caption] : items)
        file->addAction(caption)->setObjectName(name);
    QToolBar* toolbar = form.addToolBar("tbToolBar");
    for (const char* toolTip : {"1037", "Launch Independence War", "1038abc"})
        toolbar->addAction(QString())->setToolTip(toolTip);

    ApplyStringTable(form);

    QStringList texts = {file->title(), help->title()};
    for (const QAction* action : file->actions() + toolbar->actions())
        texts += action->text().isEmpty() ? action->toolTip() : action->text();
    EXPECT_EQ(texts, QStringList({"&File", "&Help", "&Open...", "&About ", "New Mission Wizard", "-", "", "1007", "66573", "1003",
                                  "New", "Launch Independence War", "1038abc"}));
}

TEST(ApplyStringTable, LabelsTabsAndListHeadersTakeTheRowOfTheirWholeTagOthersOfWhatTagAndToolTipBeginWith)
{
    QWidget form;
    form.setProperty("tag", "1027");
    auto* label = new QLabel("design", &form);
    label->setProperty("tag", "1042");
    auto* labelWithLetters = new QLabel("design", &form);
    labelWithLetters->setProperty("tag", "1042abc");
    auto* tabs = new QTabBar(&form);
    tabs->addTab("design");
    tabs->setTabData(0, "1029");
    tabs->setTabToolTip(0, "1030");
    auto* list = new QTreeWidget(&form);
    list->setColumnCount(2);
    list->headerItem()->setData(0, Qt::UserRole, "1031");
    list->headerItem()->setText(1, "Line");
    auto* table = new QTableWidget(0, 1, &form);
    table->setHorizontalHeaderItem(0, new QTableWidgetItem("design"));
    table->horizontalHeaderItem(0)->setData(Qt::UserRole, "1032");
    auto* frame = new QGroupBox("design", &form);
    frame->setProperty("tag", "1042");
    frame->setToolTip("1041");
    auto* textBox = new QLineEdit("typed", &form);
    textBox->setProperty("tag", "1037");
    // Each text is both tag and tool tip of a button: the row replaces both, or neither changes.
    const std::vector<std::pair<const char*, const char*>> buttons = {
        {"1037abc", "New"}, {" 10 38", "Open"}, {"1038.6x", "Save"}, {"1041 printer", "Print"},
        {"0", nullptr}, {"-1037", nullptr}, {"66573", nullptr}, {"abc 1037", nullptr}};
    for (const auto& [text, row] : buttons) {
        auto* button = new QPushButton("design", &form);
        button->setProperty("tag", text);
        button->setToolTip(text);
    }

    ApplyStringTable(form);

    EXPECT_EQ(QStringList({form.windowTitle(), label->text(), labelWithLetters->text(), tabs->tabText(0), tabs->tabToolTip(0),
                           list->headerItem()->text(0), list->headerItem()->text(1), table->horizontalHeaderItem(0)->text(),
                           frame->title(), frame->toolTip(), textBox->text()}),
              QStringList({"&Window", "Cut", "design", "&Cascade", "Tile &Horizontal", "Tile &Vertical", "Line", "&Arrange Icons",
                           "Cut", "Print", "typed"}));
    const QList<QPushButton*> made = form.findChildren<QPushButton*>();
    for (qsizetype i = 0; i < made.size(); ++i) {
        const auto [text, row] = buttons[size_t(i)];
        EXPECT_EQ(std::pair(made[i]->text(), made[i]->toolTip()), std::pair(QString(row ? row : "design"), QString(row ? row : text))) << text;
    }
}

}  // namespace
}  // namespace shell
