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

#include "shell/string_table.h"

namespace shell {
namespace {

TEST(StringTable, HoldsTheRowsOfTheMainWindow)
{
    const std::pair<int, QString> rows[] = {
        {1000, "&File"},           {1001, "&New"},        {1002, "&Open..."},
        {1003, "&Close"},          {1004, "&Save"},       {1005, "Save &As..."},
        {1008, "Page Set&up..."},  {1010, "&Print..."},   {1012, "E&xit"},
        {1013, "&Edit"},           {1015, "Cu&t"},        {1016, "&Copy"},
        {1017, "&Paste"},          {1019, "&View"},       {1020, "&Toolbar"},
        {1021, "Status &Bar"},     {1023, "&Options..."}, {1025, "&Tools"},
        {1026, "&Options..."},     {1027, "&Window"},     {1028, "&New Window"},
        {1029, "&Cascade"},        {1030, "Tile &Horizontal"}, {1031, "Tile &Vertical"},
        {1032, "&Arrange Icons"},  {1033, "&Help"},       {1036, "&About "},
        {1037, "New"},             {1038, "Open"},        {1039, "Save"},
        {1041, "Print"},           {1042, "Cut"},         {1043, "Copy"},
        {1044, "Paste"},
    };
    for (const auto& [id, text] : rows)
        EXPECT_EQ(LoadResString(id), text) << id;
    EXPECT_EQ(LoadResString(20), std::nullopt);
    EXPECT_EQ(LoadResString(21), std::nullopt);
    EXPECT_EQ(LoadResString(0), std::nullopt);
}

TEST(ApplyStringTable, FormCaptionComesFromItsTag)
{
    QWidget tagged;
    tagged.setWindowTitle("design");
    tagged.setProperty("tag", "1027");
    QWidget untagged;
    untagged.setWindowTitle("Orbiscribe");
    const QFont font = untagged.font();

    ApplyStringTable(tagged);
    ApplyStringTable(untagged);

    EXPECT_EQ(tagged.windowTitle(), "&Window");
    EXPECT_EQ(untagged.windowTitle(), "Orbiscribe");
    EXPECT_EQ(untagged.font(), font);
}

TEST(ApplyStringTable, MenuItemsWhoseCaptionIsAnIdTakeItsRow)
{
    QMainWindow form;
    QMenu* file = form.menuBar()->addMenu("1000");
    file->setObjectName("mnuFile");
    QMenu* help = form.menuBar()->addMenu("1033");
    help->menuAction()->setObjectName("mnuHelp");
    const auto item = [&](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    QAction* open = item(file, "mnuFileOpen", " 1002 ");
    QAction* wizard = item(file, "mnuFileNMW", "New Mission Wizard");
    QAction* bar = item(file, "mnuFileBar0", "-");
    QAction* recent = item(file, "mnuFileMRU", "");
    QAction* noRow = item(file, "mnuFileNoRow", "1007");
    QAction* tooLarge = item(file, "mnuFileTooLarge", "66573");
    QAction* notMenuItem = item(file, "fileClose", "1003");
    QAction* about = item(help, "mnuHelpAbout", "1036");

    ApplyStringTable(form);

    EXPECT_EQ(file->title(), "&File");
    EXPECT_EQ(help->title(), "&Help");
    EXPECT_EQ(open->text(), "&Open...");
    EXPECT_EQ(wizard->text(), "New Mission Wizard");
    EXPECT_EQ(bar->text(), "-");
    EXPECT_EQ(recent->text(), "");
    EXPECT_EQ(noRow->text(), "1007");
    EXPECT_EQ(tooLarge->text(), "66573");
    EXPECT_EQ(notMenuItem->text(), "1003");
    EXPECT_EQ(about->text(), "&About ");
}

TEST(ApplyStringTable, ToolbarButtonsWhoseToolTipIsAnIdTakeItsRow)
{
    QMainWindow form;
    QToolBar* toolbar = form.addToolBar("tbToolBar");
    const auto button = [&](const QString& toolTip) {
        QAction* action = toolbar->addAction(QString());
        action->setToolTip(toolTip);
        return action;
    };
    QAction* newButton = button("1037");
    toolbar->addSeparator();
    QAction* launch = button("Launch Independence War");
    QAction* withLetters = button("1038abc");

    ApplyStringTable(form);

    EXPECT_EQ(newButton->toolTip(), "New");
    EXPECT_EQ(launch->toolTip(), "Launch Independence War");
    EXPECT_EQ(withLetters->toolTip(), "1038abc");
}

TEST(ApplyStringTable, LabelsTabsAndListHeadersTakeTheRowOfTheirWholeTag)
{
    QWidget form;
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
    QWidget form;
    const auto button = [&](const char* tag, const char* toolTip = "") {
        auto* control = new QPushButton("design", &form);
        control->setProperty("tag", tag);
        control->setToolTip(toolTip);
        return control;
    };
    QPushButton* letters = button("1037abc", "1041 printer");
    QPushButton* blanks = button(" 10 38");
    QPushButton* fraction = button("1038.6x");
    QPushButton* zero = button("0", "0");
    QPushButton* negative = button("-1037", "-1037");
    QPushButton* outOfRange = button("66573", "Cut");
    QPushButton* noNumber = button("abc 1037");
    auto* frame = new QGroupBox("design", &form);
    frame->setProperty("tag", "1042");
    auto* textBox = new QLineEdit("typed", &form);
    textBox->setProperty("tag", "1037");

    ApplyStringTable(form);

    EXPECT_EQ(letters->text(), "New");
    EXPECT_EQ(letters->toolTip(), "Print");
    EXPECT_EQ(blanks->text(), "Open");
    EXPECT_EQ(fraction->text(), "Save");
    for (QPushButton* unchanged : {zero, negative, outOfRange, noNumber})
        EXPECT_EQ(unchanged->text(), "design") << unchanged->property("tag").toString().toStdString();
    EXPECT_EQ(zero->toolTip(), "0");
    EXPECT_EQ(negative->toolTip(), "-1037");
    EXPECT_EQ(outOfRange->toolTip(), "Cut");
    EXPECT_EQ(frame->title(), "Cut");
    EXPECT_EQ(textBox->text(), "typed");
}

}  // namespace
}  // namespace shell
