// The route window's 横断面 tab and the edges of its stake table, on the offscreen platform: the
// tab only where the route has a cross-section, stepping through the stakes by the buttons, the
// keys and the chooser, the title following; 显示边缘's columns and digits as `hcurve route
// --edges` writes them.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include "route_cli/route_command.h"
#include "support/ramp_landxml.h"
#include "window/route_window.h"
#include "window/section_view.h"

namespace hcurve {
namespace {

const char kPlan[] =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,150,150,\nEP,1000,1000,,,,\n"
    "\n变坡点桩号,高程,竖曲线半径\nK1+000,100,\nK2+800,118,\n";
const char kSection[] =
    "侧,部件,宽度,横坡\n"
    "左,行车道,7.5,路拱\n左,硬路肩,2.5,路拱\n左,土路肩,0.75,-4\n"
    "右,行车道,7.5,路拱\n右,土路肩,0.75,-4\n"
    "\n路拱横坡,旋转轴\n2,中线\n"
    "\n交点,超高横坡,加宽\nJD1,6,0.8\n"
    "\n侧,类型,坡率,高度,平台宽\n左,填,1.5,,\n右,填,1.5,,\n右,挖,1,,\n";

class SectionTab : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = folder_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    std::unique_ptr<RouteWindow> open(const QStringList& paths) {
        const Result<RouteWindow*> opened = openRouteWindow(paths);
        std::unique_ptr<RouteWindow> window(opened ? *opened : nullptr);
        EXPECT_TRUE(window) << messageLines(opened).toStdString();
        return window;
    }
    QTemporaryDir folder_;
};

QStringList tabTexts(const RouteWindow& window) {
    QStringList tabs;
    for (int i = 0; i < window.tabs()->count(); ++i)
        tabs << window.tabs()->tabText(i);
    return tabs;
}

QString shownTitle(const RouteWindow& window) {
    return window.sectionPage()->canvas()->picture().title.text;
}

TEST_F(SectionTab, TheTabIsThereOnlyWithASection) {
    const QString plan = write("路线.csv", kPlan);
    std::unique_ptr<RouteWindow> plain = open({plan});
    ASSERT_TRUE(plain);
    EXPECT_FALSE(tabTexts(*plain).contains(QStringLiteral("横断面")));
    EXPECT_TRUE(plain->edgesBox()->isHidden());

    // The section's tables in a further file, added to the open window.
    const QString section = write("横断面.csv", kSection);
    ASSERT_TRUE(plain->addFiles({section}).ok());
    EXPECT_EQ(tabTexts(*plain).back(), QStringLiteral("横断面"));
    EXPECT_FALSE(plain->edgesBox()->isHidden());

    std::unique_ptr<RouteWindow> both = open({plan, section});
    ASSERT_TRUE(both);
    EXPECT_EQ(tabTexts(*both), (QStringList{"曲线要素表", "线元表", "中桩表", "平面图", "竖曲线表",
                                            "纵断面图", "横断面"}));
}

TEST_F(SectionTab, SteppingThroughTheStakesTitlesEachWithItsChainage) {
    std::unique_ptr<RouteWindow> window =
        open({write("路线.csv", QByteArray(kPlan) + "\n" + kSection)});
    ASSERT_TRUE(window);
    window->show();
    window->tabs()->setCurrentWidget(window->sectionPage());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    SectionPage& page = *window->sectionPage();
    // Before a stake table: every 20 m from BP, with the characteristic points.
    const std::vector<StakeRow>& every = page.stakes();
    ASSERT_GT(every.size(), 3u);
    EXPECT_EQ(every[1].text, "K1+020.000");
    auto titled = [&](std::size_t i) {
        return shownTitle(*window) ==
               QStringLiteral("横断面  ") + QString::fromStdString(page.stakes()[i].text);
    };
    EXPECT_TRUE(titled(0)) << shownTitle(*window).toStdString();
    EXPECT_FALSE(page.previousButton()->isEnabled());

    QWidget* canvas = page.canvas();
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_PageDown);
    EXPECT_TRUE(titled(1)) << shownTitle(*window).toStdString();
    QTest::mouseClick(page.nextButton(), Qt::LeftButton);
    EXPECT_TRUE(titled(2)) << shownTitle(*window).toStdString();
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_Right);
    EXPECT_TRUE(titled(3));
    QTest::keyClick(canvas, Qt::Key_Left);
    EXPECT_TRUE(titled(2));
    QTest::keyClick(canvas, Qt::Key_PageUp);
    EXPECT_TRUE(titled(1));
    QTest::mouseClick(page.previousButton(), Qt::LeftButton);
    EXPECT_TRUE(titled(0));
    QTest::mouseClick(page.previousButton(), Qt::LeftButton);  // disabled at the first
    EXPECT_TRUE(titled(0));

    const int last = page.chooser()->count() - 1;
    EXPECT_EQ(static_cast<std::size_t>(page.chooser()->count()), page.stakes().size());
    page.chooser()->setCurrentIndex(last);
    EXPECT_TRUE(titled(static_cast<std::size_t>(last)));
    EXPECT_FALSE(page.nextButton()->isEnabled());
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_PageDown);
    EXPECT_TRUE(titled(static_cast<std::size_t>(last)));

    // A stake table computed: its stakes, the one nearest to the stake shown before.
    window->intervalField()->setText("50");
    window->fromField()->setText("1200");
    window->toField()->setText("1400");
    ASSERT_EQ(failureLines(window->computeStakes()), QString());
    ASSERT_EQ(page.stakes().size(), 5u);
    EXPECT_EQ(page.current(), 4);
    EXPECT_EQ(shownTitle(*window), QStringLiteral("横断面  K1+400.000"));
    page.chooser()->setCurrentIndex(1);
    EXPECT_EQ(shownTitle(*window), QStringLiteral("横断面  K1+250.000"));
}

TEST_F(SectionTab, TheSectionShownIsSavedAsTheExtensionSays) {
    const QString road = write("路线.csv", QByteArray(kPlan) + "\n" + kSection);
    std::unique_ptr<RouteWindow> window = open({road});
    ASSERT_TRUE(window);
    window->sectionPage()->step(3);
    const std::pair<const char*, QByteArray> files[] = {
        {"section.png", "\x89PNG"}, {"section.svg", "<?xml"}, {"section.pdf", "%PDF"}};
    for (const auto& [name, magic] : files) {
        const QString path = folder_.filePath(name);
        EXPECT_EQ(failureLines(window->saveSection(path)), QString()) << name;
        QFile saved(path);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        EXPECT_TRUE(bytes.startsWith(magic)) << name;
        if (QByteArray(name).endsWith(".svg")) {
            EXPECT_TRUE(bytes.contains("K1+060.000"));  // the fourth stake, in the description
        }
    }
    EXPECT_EQ(failureLines(window->saveSection(folder_.filePath("section.txt"))),
              QStringLiteral("横断面图的文件名要以 .png、.svg 或 .pdf 结尾。"));
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string f; std::getline(in, f, ',');)
        fields.push_back(f);
    if (!line.empty() && line.back() == ',')
        fields.emplace_back();
    return fields;
}

TEST_F(SectionTab, TheStakeTableShowsTheEdgesWhenAsked) {
    const QString road = write("路线.csv", QByteArray(kPlan) + "\n" + kSection);
    std::unique_ptr<RouteWindow> window = open({road});
    ASSERT_TRUE(window);
    window->intervalField()->setText("100");
    window->fromField()->setText("1900");
    window->toField()->setText("2100");
    window->leftField()->setText("5");
    window->rightField()->setText("8");
    ASSERT_EQ(failureLines(window->computeStakes()), QString());
    QAbstractItemModel& model = *window->stakeTable()->model();
    const int own = model.columnCount();
    window->edgesBox()->setChecked(true);
    QStringList added;
    for (int c = own; c < model.columnCount(); ++c)
        added << model.headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(added, (QStringList{"左行车道边缘偏距", "左行车道边缘高程", "左硬路肩边缘偏距",
                                  "左硬路肩边缘高程", "左土路肩边缘偏距", "左土路肩边缘高程",
                                  "右行车道边缘偏距", "右行车道边缘高程", "右土路肩边缘偏距",
                                  "右土路肩边缘高程"}));

    // Every row's digits as the command line's, the side points' heights (from the section's
    // surface) among them.
    std::ostringstream out, err;
    ASSERT_EQ(runRouteCommand({road.toStdString(), "--stakes", "--interval", "100", "--from",
                               "1900", "--to", "2100", "--left", "5", "--right", "8", "--edges"},
                              out, err),
              0)
        << err.str();
    std::stringstream lines(out.str());
    std::string line;
    std::getline(lines, line);  // the header
    EXPECT_EQ(fieldsOf(line).size(), static_cast<std::size_t>(model.columnCount()));
    int row = 0;
    for (; std::getline(lines, line); ++row) {
        const std::vector<std::string> fields = fieldsOf(line);
        ASSERT_LT(row, model.rowCount());
        for (int c = 0; c < model.columnCount(); ++c)
            EXPECT_EQ(model.index(row, c).data().toString().toStdString(),
                      fields[static_cast<std::size_t>(c)])
                << row << " " << c;
    }
    EXPECT_EQ(row, model.rowCount());

    // The export carries the edges as the command line's --edges --out does, byte for byte.
    // GSI point numbers are letters and digits only: the edges numbered outwards instead.
    for (auto [name, edge] : {std::pair{"edges.csv", "左行车道"}, std::pair{"edges.gsi", "LE1"}}) {
        const QString mine = folder_.filePath(QStringLiteral("window-") + name);
        const QString theirs = folder_.filePath(QStringLiteral("command-") + name);
        ASSERT_EQ(failureLines(window->exportStakes(mine)), QString()) << name;
        std::ostringstream ignored;
        ASSERT_EQ(runRouteCommand({road.toStdString(), "--stakes", "--interval", "100", "--from",
                                   "1900", "--to", "2100", "--left", "5", "--right", "8", "--edges",
                                   "--out", theirs.toStdString()},
                                  ignored, err),
                  0)
            << err.str();
        QFile a(mine), b(theirs);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray bytes = a.readAll();
        EXPECT_EQ(bytes, b.readAll()) << name;
        EXPECT_TRUE(bytes.contains(edge)) << name;
    }

    window->edgesBox()->setChecked(false);
    EXPECT_EQ(model.columnCount(), own);
    const QString plain = folder_.filePath("plain.csv");
    ASSERT_EQ(failureLines(window->exportStakes(plain)), QString());
    QFile p(plain);
    ASSERT_TRUE(p.open(QIODevice::ReadOnly));
    EXPECT_FALSE(p.readAll().contains("左行车道"));
}

// A LandXML route (its CoordGeom: a route of elements) with the design office's section tables in
// a CSV file beside it, chosen together or added to its open window; a file beside it with another
// table is refused as ever.
TEST_F(SectionTab, SectionTablesBesideALandXmlFile) {
    const QString xml = write("匝道.xml", testing::kRampLandXml);
    const QString section = write("横断面.csv",
                                  "侧,部件,宽度,横坡\n左,行车道,3.5,路拱\n右,行车道,3.5,路拱\n"
                                  "\n起点桩号,终点桩号,超高横坡,加宽\n160,240,6,0.5\n");
    std::unique_ptr<RouteWindow> both = open({section, xml});
    ASSERT_TRUE(both);
    EXPECT_TRUE(both->crossSection());
    EXPECT_EQ(tabTexts(*both).back(), QStringLiteral("横断面"));

    std::unique_ptr<RouteWindow> added = open({xml});
    ASSERT_TRUE(added);
    EXPECT_FALSE(added->crossSection());
    ASSERT_TRUE(added->addFiles({section}).ok());
    EXPECT_TRUE(added->crossSection());

    const Result<RouteWindow*> refused = openRouteWindow({xml, write("路线.csv", kPlan)});
    EXPECT_FALSE(refused);
    EXPECT_EQ(messageLines(refused),
              "hcurve: LandXML 文件“" + xml + "”要单独读，不能与别的文件一起读。\n");
}

// A level road at 100 m, a carriageway of 5 m each side at the crown's 2 % (edges at 99.9), fill
// slopes of 1:1.5 and cut slopes of 1:1; three surveyed sections: level ground at 98 (fill), at
// 101 (cut), and one too short to meet the slopes.
const char kLevelRoad[] =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,150,150,\nEP,1000,1000,,,,\n"
    "\n变坡点桩号,高程,竖曲线半径\nK1+000,100,\nK2+800,100,\n"
    "\n侧,部件,宽度,横坡\n左,行车道,5,路拱\n右,行车道,5,路拱\n"
    "\n路拱横坡,旋转轴\n2,中线\n"
    "\n侧,类型,坡率,高度,平台宽\n左,填,1.5,,\n右,填,1.5,,\n左,挖,1,,\n右,挖,1,,\n";
const char kLevelGround[] =
    "BEGIN,K1+020:1\n-20,98\n0,98\n20,98\n"
    "BEGIN,K1+040:2\n-20,101\n0,101\n20,101\n"
    "BEGIN,K1+060:3\n-6,98\n0,98\n6,98\n";

// The area of a closed polygon by the shoelace formula.
double shoelace(const std::vector<std::pair<double, double>>& p) {
    double twice = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const auto& [x0, y0] = p[i];
        const auto& [x1, y1] = p[(i + 1) % p.size()];
        twice += x0 * y1 - x1 * y0;
    }
    return std::fabs(twice) / 2;
}

QString fixed4(double v) {
    return QString::number(v, 'f', 4);
}

QStringList labelTexts(const RouteWindow& window) {
    QStringList texts;
    for (const SectionLabel& l : window.sectionPage()->canvas()->picture().labels)
        texts << l.text;
    return texts;
}

TEST_F(SectionTab, WithAGroundFileTheTabShowsTheGroundTheCatchPointsAndTheAreas) {
    const QString road = write("road.csv", kLevelRoad);
    const QString ground = write("ground.txt", kLevelGround);
    std::unique_ptr<RouteWindow> window = open({road, ground});
    ASSERT_TRUE(window);
    SectionPage* page = window->sectionPage();
    ASSERT_NE(page, nullptr);
    window->resize(1280, 900);
    window->tabs()->setCurrentWidget(page);
    window->show();
    // The stakes with ground, and the sheets' buttons.
    ASSERT_EQ(page->chooser()->count(), 3);
    EXPECT_EQ(page->chooser()->itemText(0), QStringLiteral("K1+020.000"));
    EXPECT_EQ(page->chooser()->itemText(2), QStringLiteral("K1+060.000"));
    EXPECT_TRUE(page->saveSheetsButton()->isVisible());
    EXPECT_TRUE(page->printSheetsButton()->isVisible());
    EXPECT_EQ(page->sheetScaleChooser()->currentText(), QStringLiteral("1:200"));

    // Fill: the slopes meet the ground 1.9 m under the edges, 1.5 x 1.9 further out.
    const double fill = shoelace({{-7.85, 98}, {-5, 99.9}, {0, 100}, {5, 99.9}, {7.85, 98}});
    // Cut: 1.1 m over the edges, 1 x 1.1 further out.
    const double cut = shoelace({{-6.1, 101}, {-5, 99.9}, {0, 100}, {5, 99.9}, {6.1, 101}});
    const struct {
        int stake;
        QString line, catchName;
    } cases[] = {
        {0,
         QStringLiteral("填高 2.000 m    填方面积 %1 m²    挖方面积 0.0000 m²").arg(fixed4(fill)),
         QStringLiteral("坡脚")},
        {1, QStringLiteral("挖深 1.000 m    填方面积 0.0000 m²    挖方面积 %1 m²").arg(fixed4(cut)),
         QStringLiteral("坡口")},
        {2,
         QStringLiteral(
             "算不出填挖面积：左侧填方边坡到地面线的端点（偏距 -6.000）还没有与地面线相交："
             "地面线太短。"),
         QString()},
    };
    for (const auto& c : cases) {
        page->chooser()->setCurrentIndex(c.stake);
        const QStringList texts = labelTexts(*window);
        EXPECT_TRUE(texts.contains(c.line)) << texts.join("\n").toStdString();
        EXPECT_EQ(texts.count(c.catchName), c.catchName.isEmpty() ? 0 : 2)
            << texts.join("\n").toStdString();
    }
    // The sheets cannot be made while a section has no areas: saving says which.
    const QString sheets = folder_.filePath("sheets.dxf");
    const QString refused = failureLines(window->saveSectionSheets(sheets));
    EXPECT_TRUE(refused.startsWith(QStringLiteral("K1+060.000：左侧填方边坡")))
        << refused.toStdString();
    EXPECT_FALSE(QFile::exists(sheets));
}

TEST_F(SectionTab, TheSheetsAreSavedAndPrintedWithProgress) {
    const QString road = write("road.csv", kLevelRoad);
    std::string twoSections(kLevelGround);
    twoSections.erase(twoSections.find("BEGIN,K1+060"));
    const QString ground = write("ground.txt", QByteArray::fromStdString(twoSections));
    std::unique_ptr<RouteWindow> window = open({road, ground});
    ASSERT_TRUE(window);
    const double fill = shoelace({{-7.85, 98}, {-5, 99.9}, {0, 100}, {5, 99.9}, {7.85, 98}});
    for (const char* name : {"sheets.dxf", "sheets.pdf"}) {
        std::vector<std::pair<int, int>> told;
        const QString path = folder_.filePath(name);
        EXPECT_EQ(failureLines(window->saveSectionSheets(path,
                                                         [&](int done, int total) {
                                                             told.emplace_back(done, total);
                                                             return true;
                                                         })),
                  QString())
            << name;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray bytes = file.readAll();
        if (QString(name).endsWith(".dxf")) {
            EXPECT_TRUE(
                bytes.contains(QStringLiteral("填方面积 %1 m²").arg(fixed4(fill)).toUtf8()));
            EXPECT_TRUE(bytes.contains("第 1 张  共 1 张"));
            EXPECT_TRUE(bytes.contains("K1+020.000 – K1+040.000"));
        } else {
            EXPECT_TRUE(bytes.startsWith("%PDF-"));
        }
        EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{1, 1}})) << name;
    }
    // Stopped by its progress: no file.
    const QString stopped = folder_.filePath("stopped.pdf");
    EXPECT_EQ(failureLines(window->saveSectionSheets(stopped, [](int, int) { return false; })),
              QString::fromUtf8(kSheetsCancelled));
    EXPECT_FALSE(QFile::exists(stopped));
    // A file of another kind, and an input, are refused.
    const QString png = folder_.filePath("sheets.png");
    EXPECT_EQ(failureLines(window->saveSectionSheets(png)),
              QStringLiteral("横断面图文件的扩展名必须是 .pdf 或 .dxf：“%1” 不对。").arg(png));
    EXPECT_EQ(
        failureLines(window->saveSectionSheets(ground)),
        QStringLiteral("无法写入文件“%1”：它就是输入文件“%1”，结果不能写在输入上。").arg(ground));
    // Printed on a printer set up as a PDF file.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString printed = folder_.filePath("printed.pdf");
    printer.setOutputFileName(printed);
    EXPECT_EQ(failureLines(window->printSectionSheets(printer)), QString());
    EXPECT_GT(QFileInfo(printed).size(), 1000);
    // Without ground the sheets' buttons stay hidden and there are no sheets.
    std::unique_ptr<RouteWindow> plain = open({road});
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->sectionPage()->saveSheetsButton()->isHidden());
    EXPECT_FALSE(plain->sectionSheets());
}

}  // namespace
}  // namespace hcurve
