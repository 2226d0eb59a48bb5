#include "window/qt_printer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <tuple>

#include "report/curve_report.h"

namespace hcurve {
namespace {

// The Qt printer needs a running application for its fonts; one for the whole test program.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "test_qt_printer";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
}

CurveRecord reportRecord(int stakes) {
    CurveRecord record;
    record.JD = "3";
    record.design.X_m = 3456789.123;
    record.design.Y_m = 512345.678;
    record.design.B_dms = 30.153;
    record.design.R_m = 500;
    record.design.A1_m = 200;
    record.design.A2_m = 250;
    CurveElements c;
    c.A1 = 200;
    c.A2 = 250;
    c.T1 = 180.5;
    c.T2 = 200.25;
    c.Ls1 = 80;
    c.Ls2 = 125;
    c.Lf = 140.125;
    c.zh = 12168.835;
    c.hy = 12248.835;
    c.yh = 12388.96;
    c.hz = 12513.96;
    c.xa = 3456610.123;
    c.ya = 512337.456;
    c.xh1 = 3456690.5;
    c.yh1 = 512345.25;
    c.xh2 = 3456800.75;
    c.yh2 = 512420.5;
    c.xb = 3456837.445;
    c.yb = 512520.125;
    record.curve = c;
    for (int i = 1; i <= stakes; ++i) {
        record.lastRun.stakes.push_back(
            {12180.0 + 20.0 * i, 3456600.0 + 20.0 * i + 0.125, 512300.0 + 2.0 * i + 0.5});
    }
    return record;
}

// The stake chainage text of stake i of reportRecord.
QString stakeChainage(int i) {
    const int chainage_m = 12180 + 20 * i;
    return QString("K%1+%2.000").arg(chainage_m / 1000).arg(chainage_m % 1000, 3, 10, QChar('0'));
}

// What the user is told once the report is printed: where it went, or why nowhere; nothing when
// the printer simply printed it.
std::optional<std::string> printTo(PrinterPort& printer, const CurveRecord& record) {
    printCurveReport(record, printer);
    const Result<std::string> ended = printer.endDocument();
    if (!ended)
        return ended.failure().message;
    if (ended->empty())
        return std::nullopt;
    return *ended;
}

// The text of a PDF file, each run of blanks made one blank so that lines compare independently
// of how the text tool spaces the columns.
QString pdfText(const QString& path) {
    QProcess tool;
    tool.start("pdftotext", {"-layout", path, "-"});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed on " << path.toStdString();
        return {};
    }
    return QString::fromUtf8(tool.readAllStandardOutput())
        .replace(QRegularExpression("[ \\t]+"), " ");
}

void expectReportText(const QString& text, int stakes) {
    const QStringList lines = {
        "---- 逐桩座标 ----",
        "交点 JD(3)",
        "交点座标 : x=3456789.123 y=512345.678",
        "平曲线偏角 : B=30.15300",
        "平曲半径 : R=500.0000",
        "第一缓和曲线要素 : A1=200.0000 第二缓和曲线要素 : A2=250.0000",
        "第一切线长 : T1=180.500 第二切线长 : T2=200.250",
        "第一缓和曲线长 : Ls1=80.0000 第二缓和曲线长 : Ls2=125.0000",
        "平曲线长 : L=345.125 圆曲线长 : Lf=140.125",
        "直缓点(ZH) K12+168.835 3456610.123 512337.456",
        "缓圆点(HY) K12+248.835 3456690.500 512345.250",
        "圆缓点(YH) K12+388.960 3456800.750 512420.500",
        "缓直点(HZ) K12+513.960 3456837.445 512520.125",
        "K12+200.000 3456620.125 512302.500 K12+220.000 3456640.125 512304.500",
    };
    for (const QString& line : lines) {
        EXPECT_TRUE(text.contains(line)) << "missing: " << line.toStdString() << "\nin:\n"
                                         << text.toStdString();
    }
    const int last = stakes;
    const QString lastStake = QString("%1 %2 %3")
                                  .arg(stakeChainage(last))
                                  .arg(QString::number(3456600.0 + 20.0 * last + 0.125, 'f', 3))
                                  .arg(QString::number(512300.0 + 2.0 * last + 0.5, 'f', 3));
    EXPECT_TRUE(text.contains(lastStake)) << "missing: " << lastStake.toStdString();
}

// A report fits one page; a long stake table continues on further pages, every stake once.
TEST(QtPrinter, WritesTheReportAsPdf) {
    ensureApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Stakes, and the fewest and most pages: each page ends with a form feed.
    for (const auto& [stakes, fewest, most] : {std::tuple{5, 1, 1}, std::tuple{201, 2, 99}}) {
        const QString path = dir.filePath(QString("报表%1.pdf").arg(stakes));
        auto printer = makePdfPrinter(path.toStdString());
        EXPECT_EQ(printTo(*printer, reportRecord(stakes)),
                  "报表已保存为 PDF 文件：" + QDir::toNativeSeparators(path).toStdString());
        const QString text = pdfText(path);
        expectReportText(text, stakes);
        EXPECT_GE(text.count('\f'), fewest) << stakes;
        EXPECT_LE(text.count('\f'), most) << stakes;
        for (int i = 1; i <= stakes; ++i)
            EXPECT_EQ(text.count(stakeChainage(i)), 1) << stakeChainage(i).toStdString();
    }
}

TEST(QtPrinter, SaysSoWhenThePdfCannotBeWritten) {
    ensureApplication();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("no-such-folder/报表.pdf");
    auto printer = makePdfPrinter(path.toStdString());
    const std::optional<std::string> message = printTo(*printer, reportRecord(1));
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(*message, "报表未能保存为 PDF 文件 " + QDir::toNativeSeparators(path).toStdString() +
                            "（没有这个文件或文件夹）。");
    EXPECT_FALSE(QFileInfo::exists(path));
}

}  // namespace
// Sets environment variables for one scope; a null value unsets one.
class Environment {
  public:
    Environment(std::initializer_list<std::pair<const char*, QByteArray>> values) {
        for (const auto& [name, value] : values) {
            saved_.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }
    ~Environment() {
        for (const Saved& s : saved_) {
            if (s.wasSet)
                qputenv(s.name, s.value);
            else
                qunsetenv(s.name);
        }
    }

  private:
    struct Saved {
        const char* name;
        QByteArray value;
        bool wasSet;
    };
    std::vector<Saved> saved_;
};

// Without a printer the report is a dated PDF in the documents folder, else the home folder, else
// the temporary folder.
TEST(QtPrinter, WithoutAPrinterTheReportIsADatedPdfInTheFirstFolderThatTakesIt) {
    ensureApplication();
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is installed";
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    QDir(scratch.path()).mkpath("home-with-file/.config");
    QFile(scratch.filePath("home-with-file/Documents")).open(QIODevice::WriteOnly);
    QDir(scratch.path()).mkpath("tmp");
    QDir(scratch.path()).mkpath("home");
    const bool rootDocumentsBefore = QFileInfo::exists("/Documents");
    const struct {
        const char* name;
        QByteArray home;
        QString folder;  // where the report must land
    } cases[] = {
        {"documents folder", scratch.filePath("home").toUtf8(), scratch.filePath("home/Documents")},
        {"HOME unset", QByteArray(), scratch.filePath("tmp")},
        {"HOME the root", "/", scratch.filePath("tmp")},
        {"HOME missing", scratch.filePath("gone").toUtf8(), scratch.filePath("tmp")},
        {"Documents cannot be made", scratch.filePath("home-with-file").toUtf8(),
         scratch.filePath("home-with-file")},
    };
    for (const auto& c : cases) {
        std::optional<std::string> message;
        {
            Environment environment{{"HOME", c.home},
                                    {"XDG_CONFIG_HOME", scratch.filePath("config").toUtf8()},
                                    {"TMPDIR", scratch.filePath("tmp").toUtf8()}};
            auto printer = makeQtPrinter();
            message = printTo(*printer, reportRecord(3));
        }
        const QStringList files = QDir(c.folder).entryList({"*.pdf"}, QDir::Files);
        ASSERT_EQ(files.size(), 1) << c.name;
        EXPECT_TRUE(
            QRegularExpression("^平曲线报表-\\d{8}-\\d{6}\\.pdf$").match(files[0]).hasMatch())
            << files[0].toStdString();
        const QString path = QDir(c.folder).filePath(files[0]);
        EXPECT_EQ(message, "报表未能打印（未找到可用的打印机），已保存为 PDF 文件：" +
                               QDir::toNativeSeparators(path).toStdString())
            << c.name;
        expectReportText(pdfText(path), 3);
        QFile::remove(path);
    }
    EXPECT_FALSE(QFileInfo::exists(scratch.filePath("gone")));
    EXPECT_EQ(QFileInfo::exists("/Documents"), rootDocumentsBefore);
}

}  // namespace hcurve
