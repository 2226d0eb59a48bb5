// The route window on the offscreen platform: the 线路 menu, the tables as the command line writes
// them, the stake form, export and the PDF when there is no printer.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <sstream>
#include <tuple>

#include "layout/plan_scene.h"
#include "route_cli/route_command.h"
#include "route_files/route_loading.h"
#include "terrain/terrain_model.h"
#include "window/main_window.h"
#include "window/plan_view_window.h"
#include "window/profile_view.h"
#include "window/route_window.h"
#include "window_test_support.h"

namespace hcurve {
namespace {

using testing::told;

const char kRoute[] =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,100,100,\nJD2,1000,1000,300,0,0,\n"
    "EP,2000,1000,,,,\n\n断链前桩号,断链后桩号\nK1+500,K1+490\n";

QString cell(QTableView* table, int row, int column) {
    return table->model()->index(row, column).data().toString();
}

QString heading(QTableView* table, int column) {
    return table->model()->headerData(column, Qt::Horizontal).toString();
}

int rows(QTableView* table) {
    return table->model()->rowCount();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const char kProfile[] = "变坡点桩号,高程,竖曲线半径\n1100,50,\n1200,52,2500\n1300,50,\n";

// The stake form: interval, from, to, left, right, skew.
void fillForm(RouteWindow& window, const QStringList& form) {
    QLineEdit* fields[] = {window.intervalField(), window.fromField(),  window.toField(),
                           window.leftField(),     window.rightField(), window.skewField()};
    for (int i = 0; i < 6; ++i)
        fields[i]->setText(form.value(i));
}

class RouteWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        path_ = folder_.filePath("路线.csv");
        QFile file(path_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kRoute);
    }
    QTemporaryDir folder_;
    QString path_;
};

TEST_F(RouteWindowTest, MainWindowHasTheRouteMenu) {
    MainWindow window;
    auto* bar = window.findChild<QMenuBar*>(QStringLiteral("fieldTools"));
    ASSERT_NE(bar, nullptr);
    QStringList items;
    for (QAction* a : bar->actions())
        if (a->menu() && a->text() == QStringLiteral("线路"))
            for (QAction* b : a->menu()->actions())
                items << b->text();
    EXPECT_EQ(items, QStringList{QStringLiteral("打开交点表…")});
}

TEST_F(RouteWindowTest, ElementTableAndPlan) {
    const Result<RouteWindow*> opened = openRouteWindow(path_);
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    ASSERT_TRUE(window) << messageLines(opened).toStdString();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("线路 - 路线.csv"));
    QTableView* t = window->elementTable();
    ASSERT_EQ(rows(t), 4);
    EXPECT_EQ(heading(t, 1), QStringLiteral("交点里程"));
    EXPECT_EQ(cell(t, 2, 0), QStringLiteral("JD2"));
    EXPECT_EQ(cell(t, 2, 1), QStringLiteral("2870.9337"));
    EXPECT_EQ(cell(t, 2, 4), QStringLiteral("-90.0000"));
    QStringList tabs;
    for (int i = 0; i < window->tabs()->count(); ++i)
        tabs << window->tabs()->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"曲线要素表", "线元表", "中桩表", "平面图"}));
    window->tabs()->setCurrentIndex(3);
    window->show();
    EXPECT_FALSE(window->grab().isNull());

    // The plan saved before any stake: as the tab shows it, and for CAD (the line, no stakes),
    // which 导出… writes too.
    const QString png = folder_.filePath("plan.png"), dxf = folder_.filePath("plan.dxf");
    EXPECT_EQ(failureLines(window->savePlanDrawing(png)), QString());
    EXPECT_EQ(failureLines(window->savePlanDrawing(dxf)), QString());
    EXPECT_EQ(failureLines(window->savePlanDrawing(folder_.filePath("plan.txt"))),
              QStringLiteral("平面图的文件名要以 .png、.svg、.pdf 或 .dxf 结尾。"));
    QFile pngFile(png), dxfFile(dxf);
    ASSERT_TRUE(pngFile.open(QIODevice::ReadOnly) && dxfFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pngFile.read(8).startsWith("\x89PNG"));
    const QByteArray drawing = dxfFile.readAll();
    EXPECT_TRUE(drawing.contains("\r\nJD2\r\n"));
    EXPECT_FALSE(drawing.contains(QStringLiteral("\r\n8\r\n中桩\r\n").toUtf8()));  // no stake
    const QString exported = folder_.filePath("导出.dxf");
    window->setExportChooser([&] { return std::optional<QString>(exported); });
    EXPECT_EQ(
        told(window->exportToChosenFile()),
        QStringLiteral("已导出平面图到文件“%1”（还没有计算中桩，图中没有桩点）。").arg(exported));
    QFile exportedFile(exported);
    ASSERT_TRUE(exportedFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(exportedFile.readAll(), drawing);
    // Points need stakes: 导出… to a point file says why not, as a failure, and writes nothing;
    // cancelled, it tells nothing.
    const QString points = folder_.filePath("导出.csv");
    window->setExportChooser([&] { return std::optional<QString>(points); });
    EXPECT_EQ(told(window->exportToChosenFile()), QStringLiteral("! 还没有计算中桩。"));
    EXPECT_FALSE(QFileInfo::exists(points));
    window->setExportChooser([] { return std::optional<QString>(); });
    const Result<std::optional<QString>> cancelled = window->exportToChosenFile();
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(*cancelled, std::nullopt);
}

TEST_F(RouteWindowTest, StakeFormExportAndPrint) {
    const Result<RouteWindow*> opened = openRouteWindow(path_);
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    ASSERT_TRUE(window);
    window->intervalField()->setText("10");
    window->fromField()->setText("K1+490");
    window->toField()->setText("1510");
    window->rightField()->setText("5");
    ASSERT_EQ(failureLines(window->computeStakes()), QString());
    QTableView* s = window->stakeTable();
    ASSERT_EQ(rows(s), 4);
    EXPECT_EQ(heading(s, 6), QStringLiteral("右1X"));
    EXPECT_EQ(cell(s, 1, 1), QStringLiteral("K1+500.000"));
    EXPECT_EQ(cell(s, 2, 1), QStringLiteral("K1+490.000"));
    EXPECT_EQ(cell(s, 2, 2), QStringLiteral("1500.0000"));
    EXPECT_EQ(cell(s, 0, 7), QStringLiteral("5.0000"));

    window->intervalField()->setText("0");
    EXPECT_EQ(failureLines(window->computeStakes()), QStringLiteral("桩距“0”必须是大于零的数值。"));
    EXPECT_EQ(rows(s), 4);  // the last table stays

    const QString dat = folder_.filePath("stakes.dat");
    EXPECT_EQ(failureLines(window->exportStakes(dat)), QString());
    QFile file(dat);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        file.readAll().startsWith("K1+490.000,,0.000,490.000,\r\n"
                                  "K1+490.000-R1,,5.000,490.000,\r\n"));

    // The stake-out file and the plan for CAD; another extension is refused.
    const QString gsi = folder_.filePath("stakes.gsi"), dxf = folder_.filePath("stakes.DXF");
    EXPECT_EQ(failureLines(window->exportStakes(gsi)), QString());
    EXPECT_EQ(failureLines(window->exportStakes(dxf)), QString());
    EXPECT_EQ(failureLines(window->exportStakes(folder_.filePath("stakes.txt"))),
              QStringLiteral("导出文件的扩展名必须是 .csv、.dat、.gsi 或 .dxf。"));
    QFile gsiFile(gsi), dxfFile(dxf);
    ASSERT_TRUE(gsiFile.open(QIODevice::ReadOnly) && dxfFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        gsiFile.readAll().startsWith("*110001+000000K1+490.000 81..10+0000000000000000 "
                                     "82..10+0000000000490000 \r\n"));
    EXPECT_TRUE(dxfFile.readAll().contains("\r\nK1+490.000-R1\r\n"));

    const QString pdf = folder_.filePath("route.pdf");
    EXPECT_EQ(told(window->print(pdf)), QStringLiteral("没有打印机：线路报表已存为 ") + pdf);
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    // A PDF that cannot be written fails, worded as every file the window cannot write.
    const QString nowhere = folder_.filePath("无此文件夹/route.pdf");
    EXPECT_EQ(told(window->print(nowhere)),
              QStringLiteral("! 无法写入文件“%1”：没有这个文件或文件夹。").arg(nowhere));
    EXPECT_EQ(failureLines(window->exportStakes(folder_.filePath("无此文件夹/stakes.csv"))),
              QStringLiteral("无法写入文件“%1”：没有这个文件或文件夹。")
                  .arg(folder_.filePath("无此文件夹/stakes.csv")));
    EXPECT_FALSE(QFileInfo::exists(nowhere));

    // Without a printer the tables go to a new dated PDF file in the documents folder, and the
    // message says that they were not printed.
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", folder_.filePath("home").toUtf8());
    QDir(folder_.path()).mkpath("home");
    const QString message = told(window->print());
    qputenv("HOME", home);
    const QString documents = folder_.filePath("home/Documents");
    const QStringList files = QDir(documents).entryList({"线路报表-*.pdf"}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(message, QStringLiteral("线路报表未能打印（未找到可用的打印机），已存为 ") +
                           QDir(documents).filePath(files[0]));
    EXPECT_GT(QFileInfo(QDir(documents).filePath(files[0])).size(), 1000);
}

// The file the window was opened from is never replaced by its exports or drawings, under its
// own name, through a link or a hard link; the message names both.
TEST_F(RouteWindowTest, TheOpenedFileIsNoTarget) {
    const Result<RouteWindow*> opened = openRouteWindow(path_);
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    ASSERT_TRUE(window);
    window->intervalField()->setText("100");
    ASSERT_EQ(failureLines(window->computeStakes()), QString());
    const QString link = folder_.filePath("plan.png"), hard = folder_.filePath("stakes.dxf");
    ASSERT_TRUE(QFile::link(path_, link));
    ASSERT_EQ(::link(path_.toLocal8Bit().constData(), hard.toLocal8Bit().constData()), 0);
    const auto refusal = [&](const QString& target) {
        return QStringLiteral("无法写入文件“%1”：它就是输入文件“%2”，结果不能写在输入上。")
            .arg(target, path_);
    };
    window->setExportChooser([&] { return std::optional<QString>(path_); });
    EXPECT_EQ(failureLines(window->exportToChosenFile()), refusal(path_));
    EXPECT_EQ(failureLines(window->exportStakes(hard)), refusal(hard));
    EXPECT_EQ(failureLines(window->savePlanDrawing(link)), refusal(link));
    EXPECT_EQ(failureLines(window->savePlanDrawing(hard)), refusal(hard));
    EXPECT_EQ(failureLines(window->saveProfile(link)), refusal(link));
    QFile file(path_);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(kRoute));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST_F(RouteWindowTest, GradeLineTabsElevationsAndTheProfileDrawing) {
    const QString profile = folder_.filePath("纵断面.csv");
    writeFile(profile, kProfile);
    const Result<RouteWindow*> opened = openRouteWindow(QStringList{path_, profile});
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    ASSERT_TRUE(window) << messageLines(opened).toStdString();
    QStringList tabs;
    for (int i = 0; i < window->tabs()->count(); ++i)
        tabs << window->tabs()->tabText(i);
    EXPECT_EQ(tabs,
              (QStringList{"曲线要素表", "线元表", "中桩表", "平面图", "竖曲线表", "纵断面图"}));
    QTableView* v = window->verticalTable();
    ASSERT_EQ(rows(v), 3);
    EXPECT_EQ(cell(v, 1, 7), QStringLiteral("凸"));
    EXPECT_EQ(cell(v, 1, 10), QStringLiteral("0.5000"));

    window->intervalField()->setText("50");
    window->fromField()->setText("1200");
    window->toField()->setText("1200");
    ASSERT_EQ(failureLines(window->computeStakes()), QString());
    QTableView* s = window->stakeTable();
    EXPECT_EQ(heading(s, 6), QStringLiteral("高程"));
    EXPECT_EQ(cell(s, 0, 6), QStringLiteral("51.5000"));  // 52 - E

    const std::pair<const char*, QByteArray> files[] = {
        {"profile.png", "\x89PNG"}, {"profile.svg", "<?xml"}, {"profile.pdf", "%PDF"}};
    for (const auto& [name, magic] : files) {
        const QString path = folder_.filePath(name);
        EXPECT_EQ(failureLines(window->saveProfile(path)), QString()) << name;
        QFile saved(path);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_TRUE(saved.readAll().startsWith(magic)) << name;
    }
    EXPECT_EQ(failureLines(window->saveProfile(folder_.filePath("profile.txt"))),
              QStringLiteral("纵断面图的文件名要以 .png、.svg 或 .pdf 结尾。"));
    const QString pdf = folder_.filePath("printed.pdf");
    EXPECT_EQ(told(window->printProfile(pdf)), QStringLiteral("没有打印机：纵断面图已存为 ") + pdf);
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
}

TEST_F(RouteWindowTest, AFileWithFaultsOpensNoWindow) {
    QFile file(path_);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,0\nJD1,0,0,300,,,\nEP,1,1,,,,\n");
    file.close();
    const Result<RouteWindow*> refused = openRouteWindow(path_);
    EXPECT_FALSE(refused);
    EXPECT_EQ(messageLines(refused),
              path_ + QStringLiteral(": 第 3 行：点 JD1 与前一点 BP 的座标相同。\n"));
}

// The window fits the screen's free area and comes back at the size and with the form it had;
// the plan is the plan view's canvas, with the route's characteristic points and their chainages.
TEST_F(RouteWindowTest, FitsTheScreenKeepsItsFormAndDrawsThePlan) {
    const Result<RouteWindow*> opened = openRouteWindow(path_);
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    ASSERT_TRUE(window);
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(window->width(), room.width());
    EXPECT_LE(window->height(), room.height());
    window->resize(500, 400);
    const QString form[] = {"5", "K1+100", "1300", "3", "2,4", "10.3"};
    QLineEdit* fields[] = {window->intervalField(), window->fromField(),  window->toField(),
                           window->leftField(),     window->rightField(), window->skewField()};
    for (int i = 0; i < 6; ++i)
        fields[i]->setText(form[i]);
    window->show();
    window->close();
    const Result<RouteWindow*> againOpened = openRouteWindow(path_);
    std::unique_ptr<RouteWindow> again(againOpened ? *againOpened : nullptr);
    EXPECT_EQ(again->size(), QSize(500, 400));
    EXPECT_EQ(again->intervalField()->text(), form[0]);
    EXPECT_EQ(again->rightField()->text(), form[4]);
    EXPECT_EQ(again->skewField()->text(), form[5]);

    PlanCanvas* plan = again->plan();
    ASSERT_TRUE(plan->scene());
    QStringList marks;
    for (const PlanMark& m : plan->scene()->marks)
        marks << QString::fromStdString(m.name + " " + m.chainage);
    EXPECT_EQ(marks.front(), QStringLiteral("BP K1+000.000"));
    EXPECT_EQ(marks.filter(QStringLiteral("ZH ")).size(), 1);
    EXPECT_EQ(marks.filter(QStringLiteral("ZY ")).size(), 1);
    EXPECT_TRUE(marks.back().startsWith(QStringLiteral("EP K")));
    again->tabs()->setCurrentIndex(3);
    again->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(again.get()));
    const double fitted = plan->frame().pixelsPerMetre;
    const QPoint middle = plan->rect().center();
    QWheelEvent wheel(middle, plan->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(plan, &wheel);
    EXPECT_GT(plan->frame().pixelsPerMetre, fitted * 1.1);
    QTest::mouseMove(plan, middle + QPoint(10, 10));
    EXPECT_TRUE(again->planCoordinates()->text().startsWith(QStringLiteral("X (北) = ")));
    plan->fit();
    EXPECT_DOUBLE_EQ(plan->frame().pixelsPerMetre, fitted);
}

// The rows of a chain break say so; a stretch off the route names where the route is; a right
// angle of skew is refused; the export adds the extension of its type and says what it wrote.
TEST_F(RouteWindowTest, BreaksStretchSkewAndExport) {
    const Result<RouteWindow*> opened = openRouteWindow(path_);
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    ASSERT_TRUE(window);
    window->intervalField()->setText("10");
    window->fromField()->setText("1480");
    window->toField()->setText("1520");
    window->leftField()->setText("5,10");
    window->rightField()->setText("");
    window->skewField()->setText("");
    ASSERT_EQ(failureLines(window->computeStakes()), QString());
    QTableView* s = window->stakeTable();
    QStringList points;
    for (int row = 0; row < rows(s); ++row)
        points << cell(s, row, 0) + "@" + cell(s, row, 1);
    EXPECT_EQ(points, (QStringList{"@K1+480.000", "@K1+490.000", "断链前@K1+500.000",
                                   "断链后@K1+490.000", "@K1+500.000", "@K1+510.000"}));
    // Every other cell, made as it is shown, reads as in the CSV of hcurve route --stakes.
    StakeRequest request;
    request.interval_m = 10;
    request.from_m = 1480;
    request.to_m = 1520;
    request.left_m = {5, 10};
    const QStringList csv =
        QString::fromStdString(stakeTableCsv(*stakeTable(window->route(), request), request))
            .split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(csv.size(), 1 + rows(s));
    for (int row = -1; row < rows(s); ++row) {
        QStringList shown;
        for (int column = 0; column < s->model()->columnCount(); ++column)
            shown << (row < 0 ? heading(s, column) : column == 0 ? "" : cell(s, row, column));
        QString line = csv[row + 1];
        if (row >= 0)
            line = line.mid(line.indexOf(','));  // the 点 column, marked above
        EXPECT_EQ(shown.join(','), line) << row;
    }
    // The marks are read, not elided.
    EXPECT_GE(s->columnWidth(0), s->fontMetrics().horizontalAdvance(QStringLiteral("断链前")));

    // Ctrl+C copies the selected rows whole, as the CSV has them but tab-separated, the marks of
    // the chain break in their 点 column; with nothing selected, every row.
    s->selectRow(3);
    s->selectionModel()->select(s->model()->index(4, 2),
                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keySequence(s, QKeySequence::Copy);
    QString copied = QApplication::clipboard()->text();
    EXPECT_EQ(copied,
              QString(csv[0] + "\n断链后" + csv[4].mid(csv[4].indexOf(',')) + "\n" + csv[5] + "\n")
                  .replace(',', '\t'));
    s->clearSelection();
    EXPECT_EQ(copiedRows(*s).count('\n'), 1 + rows(s));

    QTemporaryDir documents;
    const QString chosen = documents.filePath("桩");
    window->setExportChooser([&] { return std::optional<QString>(chosen + ".dat"); });
    EXPECT_EQ(told(window->exportToChosenFile()),
              QStringLiteral("已导出 %1 个点到文件“%2.dat”。").arg(6 * 3).arg(chosen));
    // 导出 as LandXML: the route itself, read back whole, its chain break with it.
    window->setExportChooser([&] { return std::optional<QString>(chosen + ".xml"); });
    EXPECT_EQ(told(window->exportToChosenFile()),
              QStringLiteral("已把路线写成 LandXML 文件“%1.xml”。").arg(chosen));
    const Result<LoadedRoute> xml = loadRouteFiles({(chosen + ".xml").toStdString()});
    ASSERT_TRUE(xml);
    EXPECT_TRUE(xml.warnings().empty());
    EXPECT_EQ(xml->route.breaks.size(), 1u);

    // The element table's EP is K(continuous - 10) past the long chain of 10 m.
    const double ep_m = cell(window->elementTable(), 3, 1).toDouble() - 10;
    const QString ep = QStringLiteral("K%1+%2")
                           .arg(static_cast<int>(ep_m / 1000))
                           .arg(std::fmod(ep_m, 1000), 7, 'f', 3, QLatin1Char('0'));
    window->fromField()->setText("9000");
    window->toField()->setText("9100");
    EXPECT_EQ(failureLines(window->computeStakes()),
              QStringLiteral("所给的范围不在路线上（BP K1+000.000 至 EP %1 之间）。").arg(ep));

    window->fromField()->setText("");
    window->toField()->setText("");
    for (const char* skew : {"90", "-90", "120"}) {
        window->skewField()->setText(skew);
        EXPECT_EQ(failureLines(window->computeStakes()),
                  QStringLiteral("斜交角“%1”要按 度.分秒 输入，并小于 90 度。").arg(skew))
            << skew;
    }
    window->skewField()->setText("89.5959");
    EXPECT_EQ(failureLines(window->computeStakes()), QString());
}

// A stake form the route cannot meet is refused in the words of `hcurve route` for the same
// values, which puts only the program's name before them.
TEST_F(RouteWindowTest, TheStakeFormIsRefusedAsTheCommandLineRefusesIt) {
    const Result<RouteWindow*> opened = openRouteWindow(path_);
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    ASSERT_TRUE(window);
    const struct {
        const char *interval, *from, *to, *skew;
    } cases[] = {
        {"0", "", "", ""},          {"-5", "", "", ""},       {"abc", "", "", ""},
        {"10", "K1+2000", "", ""},  {"10", "K9+000", "", ""}, {"10", "", "x1", ""},
        {"10", "", "", "90"},       {"10", "", "", "10.7"},   {"10", "9000", "9100", ""},
        {"10", "1500", "1200", ""}, {"10", "", "K\x1b", ""},
    };
    for (const auto& c : cases) {
        window->intervalField()->setText(c.interval);
        window->fromField()->setText(c.from);
        window->toField()->setText(c.to);
        window->skewField()->setText(c.skew);
        std::vector<std::string> args{path_.toStdString(), "--stakes", "--interval", c.interval};
        for (auto [option, value] :
             {std::pair{"--from", c.from}, std::pair{"--to", c.to}, std::pair{"--skew", c.skew}}) {
            if (*value)
                args.insert(args.end(), {option, value});
        }
        std::ostringstream out, err;
        ASSERT_EQ(runRouteCommand(args, out, err), 1) << c.interval << c.from << c.to << c.skew;
        const Result<void> refused = window->computeStakes();
        ASSERT_FALSE(refused) << err.str();
        EXPECT_EQ("hcurve: " + failureLines(refused).toStdString() + "\n", err.str());
    }
    // The side distances: the window names its field where the command line names its option.
    window->intervalField()->setText("10");
    for (QLineEdit* field : {window->fromField(), window->toField(), window->skewField()})
        field->setText("");
    for (const char* typed : {"5,x", ",", "5;7"}) {
        for (auto [field, option, name] :
             {std::tuple{window->leftField(), "--left", "左侧距离"},
              std::tuple{window->rightField(), "--right", "右侧距离"}}) {
            window->leftField()->setText("");
            window->rightField()->setText("");
            field->setText(typed);
            std::ostringstream out, err;
            ASSERT_EQ(
                runRouteCommand(
                    {path_.toStdString(), "--stakes", "--interval", "10", option, typed}, out, err),
                1);
            const Result<void> refused = window->computeStakes();
            ASSERT_FALSE(refused) << typed;
            const std::string said = err.str();
            const std::string prefix = std::string("hcurve: ") + option + " ";
            ASSERT_EQ(said.rfind(prefix, 0), 0u) << said;
            EXPECT_EQ(failureLines(refused).toStdString(),
                      name + said.substr(prefix.size(), said.size() - prefix.size() - 1));
        }
    }
}

// The plan shows the stakes last computed with their side points, where the stake table has them.
TEST_F(RouteWindowTest, ThePlanShowsTheStakesWithTheirSidePoints) {
    const Result<RouteWindow*> opened = openRouteWindow(path_);
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    ASSERT_TRUE(window);
    ASSERT_TRUE(window->plan()->scene());
    EXPECT_TRUE(window->plan()->scene()->stakes.empty());
    fillForm(*window, {"100", "", "", "5,10", "7.5", ""});
    ASSERT_EQ(failureLines(window->computeStakes()), QString());
    window->tabs()->setCurrentWidget(window->plan()->parentWidget());
    const std::vector<PlanStake>& drawn = window->plan()->scene()->stakes;
    QTableView* s = window->stakeTable();
    ASSERT_EQ(static_cast<int>(drawn.size()), rows(s));
    // Columns: 点,桩号,里程,X,Y,方位角, then 左1X,左1Y,左2X,左2Y,右1X,右1Y.
    for (int row = 0; row < rows(s); ++row) {
        const PlanStake& stake = drawn[static_cast<std::size_t>(row)];
        EXPECT_EQ(QString::fromStdString(stake.chainage), cell(s, row, 1));
        ASSERT_EQ(stake.left.size(), 2u);
        ASSERT_EQ(stake.right.size(), 1u);
        const std::pair<const PlanePoint*, int> points[] = {
            {&stake.at, 3}, {&stake.left[0], 6}, {&stake.left[1], 8}, {&stake.right[0], 10}};
        for (const auto& [p, column] : points) {
            EXPECT_NEAR(p->x_m, cell(s, row, column).toDouble(), 1e-4) << row << " " << column;
            EXPECT_NEAR(p->y_m, cell(s, row, column + 1).toDouble(), 1e-4) << row << " " << column;
        }
        // The left points lie left of the road: 5 and 10 m from the stake, the right one 7.5.
        EXPECT_NEAR(std::hypot(stake.left[1].x_m - stake.at.x_m, stake.left[1].y_m - stake.at.y_m),
                    10, 1e-9);
        EXPECT_NEAR(
            std::hypot(stake.right[0].x_m - stake.at.x_m, stake.right[0].y_m - stake.at.y_m), 7.5,
            1e-9);
    }
    // The first leg runs north (X grows): left is west (Y below the stake's).
    EXPECT_LT(drawn[1].left[0].y_m, drawn[1].at.y_m);
    EXPECT_GT(drawn[1].right[0].y_m, drawn[1].at.y_m);
}

// Columns of the picture where a colour near the given one stands (each channel within 20), in
// its rows from top to bottom (not including bottom).
std::vector<bool> columnsWithColour(const QImage& image, const QColor& colour, int top,
                                    int bottom) {
    std::vector<bool> found(static_cast<std::size_t>(image.width()), false);
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= 20 &&
                std::abs(c.green() - colour.green()) <= 20 &&
                std::abs(c.blue() - colour.blue()) <= 20)
                found[static_cast<std::size_t>(x)] = true;
        }
    return found;
}

// Terrain points of a plane about the road's first straight (north from K1+000: X = chainage -
// 1000, Y = 0), opened with the route: the profile's ground line is the model's height at a stake
// every 20 m until stakes are computed, then at the stakes of the table; no height where a stake
// lies outside the model.
TEST_F(RouteWindowTest, TheGroundLineOfATerrainModelFollowsTheStakes) {
    if (!terrainModelAvailable())
        GTEST_SKIP() << "no triangulation in this build";
    const QString profile = folder_.filePath("纵断面.csv");
    writeFile(profile, kProfile);
    const auto plane = [](double x, double y) { return 40 + 0.01 * x + 0.05 * y; };
    std::string points = "点名,X,Y,H\n";
    for (int i = 0; i <= 60; ++i)
        for (int j = 0; j <= 6; ++j) {
            const double x = i * 10 + (j % 2) * 2.5, y = -30 + j * 10;
            points += "P" + std::to_string(i * 10 + j) + "," + std::to_string(x) + "," +
                      std::to_string(y) + "," + std::to_string(plane(x, y)) + "\n";
        }
    const QString terrain = folder_.filePath("地面点.csv");
    writeFile(terrain, QByteArray::fromStdString(points));
    const Result<RouteWindow*> opened = openRouteWindow(QStringList{path_, profile, terrain});
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    ASSERT_TRUE(window) << messageLines(opened).toStdString();
    ASSERT_TRUE(window->profileView());
    int inside = 0, outside = 0;
    for (const GroundLinePoint& p : window->profileView()->groundLine()) {
        const double x = p.continuous_m - 1000;
        if (x > 0 && x < 600) {
            ASSERT_TRUE(p.H_m) << p.continuous_m;
            EXPECT_NEAR(*p.H_m, plane(x, 0), 1e-9);
            ++inside;
        } else if (x > 620) {
            EXPECT_FALSE(p.H_m) << p.continuous_m;
            ++outside;
        }
    }
    // Every 20 m of the 桩号 from K1+020 up to K1+500 (25), after the long chain (K1+500 back to
    // K1+490) K1+500 to K1+580 at 里程 1510 to 1590 (5), and SQD and SZD of the vertical curve
    // (K1+150, K1+250).
    EXPECT_EQ(inside, 32);
    EXPECT_GT(outside, 0);
    fillForm(*window, {"50", "1100", "1300"});
    ASSERT_EQ(failureLines(window->computeStakes()), QString());
    const std::vector<GroundLinePoint>& line = window->profileView()->groundLine();
    ASSERT_EQ(line.size(), 5u);
    for (std::size_t k = 0; k < line.size(); ++k) {
        EXPECT_NEAR(line[k].continuous_m, 1100 + 50.0 * k, 1e-9);
        ASSERT_TRUE(line[k].H_m);
        EXPECT_NEAR(*line[k].H_m, plane(100 + 50.0 * k, 0), 1e-9);
    }
    // The table: 41.000 of ground at K1+100 under a design of 50.000, 9 m of fill.
    QTableView* s = window->stakeTable();
    const int columns = s->model()->columnCount();
    EXPECT_EQ(cell(s, 0, 1), QStringLiteral("K1+100.000"));
    EXPECT_EQ(cell(s, 0, columns - 2), QStringLiteral("41.0000"));
    EXPECT_EQ(cell(s, 0, columns - 1), QStringLiteral("9.000"));
}

// Surveyed ground opened with the route and its grade line: the stake table reads the ground at
// each stake that has a section and the fill or cut there, and the profile draws the ground line
// in its colour from the first section to the last, and nowhere else.
TEST_F(RouteWindowTest, TheGroundAtTheStakesAndTheGroundLineOnTheProfile) {
    const QString profile = folder_.filePath("纵断面.csv");
    writeFile(profile, kProfile);
    const QString ground = folder_.filePath("地面线.txt");
    // Centres: 49.0 at K1+100 (between two points), 50.5 at K1+150, 51.5 at K1+250.
    writeFile(ground,
              "BEGIN,K1+100\n-5,49.5\n5,48.5\nBEGIN,K1+150\n0,50.5\n4,50.9\n"
              "BEGIN,K1+250\n-3,52\n3,51\n");
    const Result<RouteWindow*> opened = openRouteWindow(QStringList{path_, profile, ground});
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    ASSERT_TRUE(window) << messageLines(opened).toStdString();
    EXPECT_EQ(messageLines(opened), "");

    fillForm(*window, {"50", "1100", "1300"});
    ASSERT_EQ(failureLines(window->computeStakes()), QString());
    QTableView* s = window->stakeTable();
    const int columns = s->model()->columnCount();
    ASSERT_GE(columns, 3);
    EXPECT_EQ(heading(s, columns - 2), QStringLiteral("地面高程"));
    EXPECT_EQ(heading(s, columns - 1), QStringLiteral("填挖高"));
    EXPECT_EQ(heading(s, 6), QStringLiteral("高程"));
    // The grade rises 2 % from 50 at K1+100 to the curve (T = 2500 * 0.04 / 2 = 50) at K1+150,
    // 51.000 there, and falls from its end at K1+250, 51.000 too: fills of 1 and 0.5, a cut of 0.5.
    const std::map<QString, std::pair<QString, QString>> expected = {
        {"K1+100.000", {"49.0000", "1.000"}},
        {"K1+150.000", {"50.5000", "0.500"}},
        {"K1+200.000", {"", ""}},
        {"K1+250.000", {"51.5000", "-0.500"}},
        {"K1+300.000", {"", ""}}};
    ASSERT_EQ(rows(s), 5);
    for (int row = 0; row < rows(s); ++row) {
        const auto e = expected.find(cell(s, row, 1));
        ASSERT_NE(e, expected.end()) << cell(s, row, 1).toStdString();
        EXPECT_EQ(cell(s, row, columns - 2), e->second.first) << row;
        EXPECT_EQ(cell(s, row, columns - 1), e->second.second) << row;
    }

    // The profile, as the user sees it: the ground line's colour in the columns of the plot from
    // K1+100 to K1+250, none before or after.
    ProfileView* view = window->profileView();
    ASSERT_TRUE(view);
    ASSERT_EQ(view->groundLine().size(), 3u);
    window->resize(1200, 800);
    window->tabs()->setCurrentWidget(view->parentWidget());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QImage picture = view->grab().toImage();
    const int width = picture.width(), height = picture.height();
    ASSERT_GT(width, 600);
    // The plot runs from x = 70 to 20 short of the right over the grade line, K1+100 to K1+300,
    // and from y = 44 to 64 above the bottom; the legend stands above it.
    const std::vector<bool> brown = columnsWithColour(picture, groundLineColour(), 44, height - 64);
    const std::vector<bool> legend = columnsWithColour(picture, groundLineColour(), 0, 44);
    // Its piece of line, 24 pixels long.
    const auto legendColumns = std::count(legend.begin(), legend.end(), true);
    EXPECT_GE(legendColumns, 22);
    EXPECT_LE(legendColumns, 27);
    const auto x = [&](double c) {
        return static_cast<std::size_t>(70 + (c - 1100) * (width - 90) / 200);
    };
    for (double c = 1102; c < 1249; c += 2)
        EXPECT_TRUE(brown[x(c)]) << c;
    for (std::size_t column = x(1256); column < brown.size(); ++column)
        EXPECT_FALSE(brown[column]) << column;
    // The legend names it only where there is ground; a window without it draws no such line.
    const Result<RouteWindow*> bare = openRouteWindow(QStringList{path_, profile});
    std::unique_ptr<RouteWindow> plain(bare ? *bare : nullptr);
    ASSERT_TRUE(plain);
    plain->resize(1200, 800);
    plain->tabs()->setCurrentWidget(plain->profileView()->parentWidget());
    plain->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(plain.get()));
    const QImage plainPicture = plain->profileView()->grab().toImage();
    const std::vector<bool> none =
        columnsWithColour(plainPicture, groundLineColour(), 0, plainPicture.height());
    EXPECT_EQ(std::count(none.begin(), none.end(), true), 0);
    fillForm(*plain, {"50", "1100", "1300"});
    ASSERT_EQ(failureLines(plain->computeStakes()), QString());
    EXPECT_EQ(heading(plain->stakeTable(), plain->stakeTable()->model()->columnCount() - 1),
              QStringLiteral("高程"));
}

// A route of elements names its start BP and its characteristic points in its stake table and on
// its plan, as a JD route does.
TEST_F(RouteWindowTest, ARouteOfElementsNamesBpAndItsCharacteristicPoints) {
    const QString elements = folder_.filePath("匝道.csv");
    writeFile(elements,
              "起点桩号,X,Y,方位角\nK0+000,3456000,512000,45\n\n长度,起点半径,终点半径,转向\n"
              "100,,,\n60,inf,500,右\n80,500,500,右\n60,500,inf,右\n100,,,\n");
    const Result<RouteWindow*> opened = openRouteWindow(elements);
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    ASSERT_TRUE(window) << messageLines(opened).toStdString();
    fillForm(*window, {"1000"});
    ASSERT_EQ(failureLines(window->computeStakes()), QString());
    QStringList points;
    for (int row = 0; row < rows(window->stakeTable()); ++row)
        points << cell(window->stakeTable(), row, 0) + "@" + cell(window->stakeTable(), row, 1);
    EXPECT_EQ(points,
              (QStringList{"BP@K0+000.000", "ZH@K0+100.000", "HY@K0+160.000", "QZ@K0+200.000",
                           "YH@K0+240.000", "HZ@K0+300.000", "EP@K0+400.000"}));
    window->tabs()->setCurrentWidget(window->plan()->parentWidget());
    QStringList marks;
    for (const PlanMark& m : window->plan()->scene()->marks)
        marks << QString::fromStdString(m.name + "@" + m.chainage);
    EXPECT_EQ(marks, points);
    EXPECT_EQ(window->plan()->scene()->stakes.size(), 7u);
}

// A grade line from another folder is added to the open window: its tabs come, and the stakes
// shown get their elevations. Files chosen in any order are read with the JD table first, and
// what is written from the route is named after it.
TEST_F(RouteWindowTest, AGradeLineFromAnotherFolderIsAddedToTheOpenWindow) {
    QTemporaryDir other;
    const QString profile = other.filePath("纵断面.csv");
    writeFile(profile, kProfile);
    const Result<RouteWindow*> opened = openRouteWindow(path_);
    std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
    ASSERT_TRUE(window);
    fillForm(*window, {"50", "1200", "1200", "", "", ""});
    ASSERT_EQ(failureLines(window->computeStakes()), QString());
    EXPECT_EQ(window->verticalTable(), nullptr);

    const Result<void> added = window->addFiles({profile});
    EXPECT_TRUE(added) << messageLines(added).toStdString();
    EXPECT_EQ(window->files(), (QStringList{path_, profile}));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("线路 - 路线.csv, 纵断面.csv"));
    ASSERT_NE(window->verticalTable(), nullptr);
    QStringList tabs;
    for (int i = 0; i < window->tabs()->count(); ++i)
        tabs << window->tabs()->tabText(i);
    EXPECT_EQ(tabs,
              (QStringList{"曲线要素表", "线元表", "中桩表", "平面图", "竖曲线表", "纵断面图"}));
    EXPECT_EQ(heading(window->stakeTable(), 6), QStringLiteral("高程"));
    EXPECT_EQ(cell(window->stakeTable(), 0, 6), QStringLiteral("51.5000"));  // 52 - E
    EXPECT_EQ(window->baseName(), QStringLiteral("路线"));

    // A file that is no table of the route is told, and the window stays as it was.
    const Result<void> wrong = window->addFiles({path_});
    EXPECT_FALSE(wrong);
    EXPECT_TRUE(messageLines(wrong).contains(QStringLiteral("只能有一个")))
        << messageLines(wrong).toStdString();
    EXPECT_EQ(window->files().size(), 2);

    // The profile clicked first: the JD table is read first all the same.
    const Result<RouteWindow*> reversedOpened = openRouteWindow(QStringList{profile, path_});
    std::unique_ptr<RouteWindow> reversed(reversedOpened ? *reversedOpened : nullptr);
    ASSERT_TRUE(reversed) << messageLines(reversedOpened).toStdString();
    EXPECT_EQ(reversed->files(), (QStringList{path_, profile}));
    EXPECT_EQ(reversed->baseName(), QStringLiteral("路线"));
}

}  // namespace
}  // namespace hcurve
