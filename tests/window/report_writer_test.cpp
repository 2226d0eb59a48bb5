// The reports on paper: 中桩成果报告 of a curve and its run, and the route's report, through the
// one table writer. Read back with pdftotext: every page carries the title block with its page
// number and the column headings of the table it continues, and no number is broken.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <tuple>
#include <vector>

#include "stakes/stake_table.h"
#include "window/main_window.h"
#include "window/report_writer.h"
#include "window/route_window.h"
#include "window_test_support.h"

namespace hcurve {
namespace {

using testing::ScriptedUser;
using testing::told;

// The pages of a PDF file as pdftotext lays them out (pages end with a form feed).
QStringList pdfPages(const QString& path) {
    QProcess tool;
    tool.start("pdftotext", {"-layout", path, "-"});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << path.toStdString();
        return {};
    }
    QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split('\f');
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// Every page names itself n / m and shows the headings; every text of the table stands whole on
// one line of some page, in the order of the rows.
void expectWholeTables(const QStringList& pages, const QStringList& headings,
                       const QStringList& texts) {
    for (int p = 0; p < pages.size(); ++p) {
        EXPECT_TRUE(pages[p].contains(QStringLiteral("第 %1 / %2 页").arg(p + 1).arg(pages.size())))
            << "page " << p + 1;
        // The first page may hold the tables before this one only.
        for (const QString& h : headings)
            EXPECT_TRUE(p == 0 || pages[p].contains(h))
                << "page " << p + 1 << ": " << h.toStdString();
    }
    const QString all = pages.join('\n');
    int from = 0;
    for (const QString& t : texts) {
        const int at = all.indexOf(t, from);
        ASSERT_GE(at, 0) << "not whole or out of order: " << t.toStdString();
        from = at + static_cast<int>(t.size());
    }
}

// The right-hand example with two left and one right pile, a run of 301 stakes: every stake and
// side point with its name and coordinates, the elements the printed report leaves out.
// The layout of the pages alone, in rows of height 1 under a title block of 3 on pages of 10:
// 7 rows of room a page (8 on pages of 11), a table's heading line and column headings taking
// 2 of them.
TEST(ReportPages, TablesRunOnWhereTheyEndAndNeverBreakARow) {
    struct Case {
        const char* what;
        std::vector<ReportTableSize> tables;
        double pageHeight;
        std::vector<std::vector<std::tuple<std::size_t, std::size_t, std::size_t, bool>>> pages;
    };
    const std::vector<Case> cases = {
        {"a short table", {{3, 0}}, 10, {{{0, 0, 3, true}}}},
        {"ten rows: five under the headings, five on the next page under them again",
         {{10, 0}},
         10,
         {{{0, 0, 5, true}}, {{0, 5, 10, false}}}},
        {"two notes take two rows of every page the table runs onto: three rows a page",
         {{10, 2}},
         10,
         {{{0, 0, 3, true}}, {{0, 3, 6, false}}, {{0, 6, 9, false}}, {{0, 9, 10, false}}}},
        {"a second table without room for its headings and a row starts a page",
         {{3, 0}, {2, 0}},
         10,
         {{{0, 0, 3, true}}, {{1, 0, 2, true}}}},
        {"a second table with room goes under the first, 1.2 rows below it",
         {{1, 0}, {1, 0}},
         11,
         {{{0, 0, 1, true}, {1, 0, 1, true}}}},
        {"a table without rows still shows its headings", {{0, 0}}, 10, {{{0, 0, 0, true}}}},
        {"a page too short for any row: one row a page all the same",
         {{2, 0}},
         4,
         {{{0, 0, 1, true}}, {{0, 1, 2, false}}}},
    };
    for (const Case& c : cases) {
        std::vector<std::vector<std::tuple<std::size_t, std::size_t, std::size_t, bool>>> pages;
        for (const ReportPage& page : reportPages(c.tables, 1, 3, c.pageHeight)) {
            pages.emplace_back();
            for (const ReportSlice& s : page)
                pages.back().emplace_back(s.table, s.from, s.to, s.first);
        }
        EXPECT_EQ(pages, c.pages) << c.what;
    }
}

TEST(Reports, TheStakeReportRunsOverPagesWithItsHeadings) {
    MainWindow window;
    std::vector<std::string> design = testing::rightHandCurveAnswers("y");
    design.insert(design.end(), {"1", "2", "5", "10", "1", "7.5", "1"});
    ScriptedUser user(window, design);
    window.run(Command::DesignEntry);
    user.add({"2", "12000", "12600", "2", "0"});
    window.run(Command::StakeRun);
    ASSERT_EQ(window.record().lastRun.stakes.size(), 301u);

    QTemporaryDir folder;
    const QString path = folder.filePath("中桩成果报告.pdf");
    window.setReportFileChooser([&] { return std::optional<std::string>(path.toStdString()); });
    window.run(Command::StakeReport);
    const QStringList pages = pdfPages(path);
    ASSERT_GT(pages.size(), 5);
    ASSERT_FALSE(user.messages().empty());
    EXPECT_EQ(user.messages().back(), QStringLiteral("已保存中桩成果报告到文件“%1”（共 %2 页）。")
                                          .arg(path)
                                          .arg(pages.size())
                                          .toStdString());
    EXPECT_TRUE(pages[0].contains(QStringLiteral("中桩成果报告")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("项目：平曲线 JD1")));
    for (const char* element : {"外距 E", "切曲差 J = T1 + T2 - L", "平曲线长 L", "QZ"})
        EXPECT_TRUE(pages[0].contains(QString::fromUtf8(element))) << element;

    QStringList texts;
    for (const StakeTableRow& r : stakeTableRows(window.record())) {
        texts << QString::fromStdString(r.point) << QString::fromStdString(r.x)
              << QString::fromStdString(r.y);
    }
    // The stake table runs on over the pages with its headings.
    expectWholeTables(pages, {QStringLiteral("点位"), QStringLiteral("X (北)")}, texts);
    EXPECT_TRUE(pages.back().contains(QStringLiteral("中桩及边桩座标 (续)")));
}

// 3042 m of road: 1000 m legs shortened by J = 129.07 m at JD1 and 128.76 m at JD2, and a last leg
// of 1300 m.
const char kRoute[] =
    "点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,100,100,\nJD2,1000,1000,300,0,0,\n"
    "EP,2300,1000,,,,\n\n断链前桩号,断链后桩号\nK1+500,K1+490\n";

class RouteReport : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        QFile file(folder_.filePath("路线.csv"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kRoute);
        file.close();
        const Result<RouteWindow*> opened = openRouteWindow(folder_.filePath("路线.csv"));
        window_.reset(opened ? *opened : nullptr);
        ASSERT_TRUE(window_);
        // Every metre of the route with a side point each way: 3044 metre stakes (the ten metres
        // of the long chain twice), eight characteristic points and EP.
        window_->intervalField()->setText("1");
        window_->fromField()->setText("");
        window_->toField()->setText("");
        window_->leftField()->setText("5");
        window_->rightField()->setText("5");
        window_->skewField()->setText("");
        ASSERT_EQ(failureLines(window_->computeStakes()), QString());
        ASSERT_EQ(window_->stakeTable()->model()->rowCount(), 3044 + 8 + 1);
    }
    QTemporaryDir folder_;
    std::unique_ptr<RouteWindow> window_;
};

TEST_F(RouteReport, EveryPageHasItsHeadingsAndNoNumberIsBroken) {
    const QString pdf = folder_.filePath("route.pdf");
    int drawn = 0, total = 0;
    const QString message = told(window_->print(pdf, [&](int done, int pages) {
        drawn = done;
        total = pages;
        return true;
    }));
    EXPECT_EQ(message, QStringLiteral("没有打印机：线路报表已存为 ") + pdf);
    const QStringList pages = pdfPages(pdf);
    EXPECT_EQ(drawn, pages.size());
    EXPECT_EQ(total, pages.size());
    QStringList texts;
    const QAbstractItemModel* table = window_->stakeTable()->model();
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column : {1, 3, 4, 6})
            texts << table->index(row, column).data().toString();
    }
    expectWholeTables(pages, {QStringLiteral("桩号"), QStringLiteral("左1X")}, texts);
    // The rows of the chain break are marked as in the window.
    EXPECT_TRUE(pages.join('\n').contains(QStringLiteral("断链前")));
    EXPECT_TRUE(pages.join('\n').contains(QStringLiteral("断链后")));
}

// 取消 in the progress dialog stops the report: no file, and the user is told.
TEST_F(RouteReport, TheProgressDialogCancels) {
    const QString pdf = folder_.filePath("stopped.pdf");
    window_->show();
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dialog = window_->findChild<QProgressDialog*>(QStringLiteral("reportProgress"))) {
            if (dialog->value() >= 1) {
                seen = dialog->isVisible();
                dialog->cancel();
            }
        }
    });
    poll.start(5);
    const QString message = told(window_->printWithProgress(pdf));
    EXPECT_TRUE(seen);
    EXPECT_EQ(message, QStringLiteral("线路报表已取消，没有打印，也没有存为文件。"));
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

}  // namespace
}  // namespace hcurve
