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
    const struct { const char *name, *caption, *after; } items[] = {
        {"mnuFileOpen", " 1002 ", "&Open..."},
        {"mnuHelpAbout", "1036", "&About "},
        {"mnuFileNMW", "New Mission Wizard", "New Mission Wizard"},
        {"mnuFileBar0", "-", "-"},
        {"mnuFileMRU", "", ""},
        {"mnuFileNoRow", "1007", "1007"},
        {"mnuFileTooLarge", "66573", "66573"},
        {"fileClose", "1003", "1003"},  // not a menu item
    };
    for (const auto& item : items)
        file->addAction(item.caption)->setObjectName(item.name);
    QToolBar* toolbar = form.addToolBar("tbToolBar");
    for (const char* toolTip : {"1037", "Launch Independence War", "1038abc"})
        toolbar->addAction(QString())->setToolTip(toolTip);

    ApplyStringTable(form);

    EXPECT_EQ(file->title(), "&File");
    EXPECT_EQ(help->title(), "&Help");
    for (size_t i = 0; i < std::size(items); ++i)
        EXPECT_EQ(file->actions()[qsizetype(i)]->text(), items[i].after) << items[i].name;
    QStringList toolTips;
    for (const QAction* button : toolbar->actions())
        toolTips << button->toolTip();
    EXPECT_EQ(toolTips, (QStringList{"New", "Launch Independence War", "1038abc"}));
}

TEST(ApplyStringTable, FormLabelsTabsAndListHeadersTakeTheRowOfTheirWholeTag)
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

    ApplyStringTable(form);

    EXPECT_EQ(form.windowTitle(), "&Window");
    EXPECT_EQ(label->text(), "Cut");
    EXPECT_EQ(labelWithLetters->text(), "design");
    EXPECT_EQ(tabs->tabText(0), "&Cascade");
    EXPECT_EQ(tabs->tabToolTip(0), "Tile &Horizontal");
    EXPECT_EQ(list->headerItem()->text(0), "Tile &Vertical");
    EXPECT_EQ(list->headerItem()->text(1), "Line");
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "&Arrange Icons");
}

TEST(ApplyStringTable, OtherControlsTakeTheRowTheirTagAndToolTipBeginWith)
{
    // Each text is both tag and tool tip of a button: the row replaces both, or neither changes.
    const std::pair<const char*, const char*> cases[] = {
        {"1037abc", "New"}, {" 10 38", "Open"}, {"1038.6x", "Save"}, {"1041 printer", "Print"},
        {"0", nullptr},     {"-1037", nullptr}, {"66573", nullptr},  {"abc 1037", nullptr},
    };
    QWidget form;
    form.setWindowTitle("Orbiscribe");
    std::vector<QPushButton*> buttons;
    for (const auto& [text, row] : cases) {
        buttons.push_back(new QPushButton("design", &form));
        buttons.back()->setProperty("tag", text);
        buttons.back()->setToolTip(text);
    }
    auto* frame = new QGroupBox("design", &form);
    frame->setProperty("tag", "1042");
    frame->setToolTip("1041");
    auto* textBox = new QLineEdit("typed", &form);
    textBox->setProperty("tag", "1037");

    ApplyStringTable(form);

    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto [text, row] = cases[i];
        EXPECT_EQ(buttons[i]->text(), row ? row : "design") << text;
        EXPECT_EQ(buttons[i]->toolTip(), row ? row : text) << text;
    }
    EXPECT_EQ(form.windowTitle(), "Orbiscribe");
    EXPECT_EQ(frame->title(), "Cut");
    EXPECT_EQ(frame->toolTip(), "Print");
    EXPECT_EQ(textBox->text(), "typed");
}

}  // namespace
}  // namespace shell
