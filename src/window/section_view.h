// The route window's 横断面 tab: the design section at one stake (views/section_painter.h) with
// the stake chooser and the buttons that step through the stakes; PageUp and PageDown, and the
// arrow keys on the drawing, step too. With a ground file the stakes are those that have ground,
// each drawn with its ground line, catch points and areas, and the tab prints and saves the
// cross-section sheets of them (its buttons, shown only then; the window does the work).
#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "alignment/cross_section.h"
#include "alignment/route.h"
#include "alignment/stake_table.h"
#include "views/section_painter.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace hcurve {

/// The drawing of the section at one stake, laid out again whenever its size changes.
class SectionCanvas : public QWidget {
  public:
    explicit SectionCanvas(QWidget* parent = nullptr);
    /// Nothing drawn without a section (route and section are kept, not copied).
    void showStake(const Route* route, const CrossSection* section, double continuous_m,
                   const std::string& stakeText, const SectionGroundShown* ground = nullptr);
    /// The picture as last laid out for the canvas's size.
    const SectionPicture& picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void layOut();

    const Route* route_ = nullptr;
    const CrossSection* section_ = nullptr;
    double continuous_m_ = 0;
    std::string stakeText_;
    std::optional<SectionGroundShown> ground_;
    SectionPicture picture_;
};

/// The tab: the chooser and the buttons over the canvas.
class SectionPage : public QWidget {
  public:
    explicit SectionPage(QWidget* parent = nullptr);
    /// The section of the route at these stakes; the stake nearest to the one shown is shown
    /// (the first, the first time).
    /// grounds: none, or the ground shown at each stake (then the sheets' buttons show).
    void setStakes(const Route* route, const CrossSection* section, std::vector<StakeRow> stakes,
                   std::vector<SectionGroundShown> grounds = {});
    /// The stake before (by < 0) or after, as far as there are stakes.
    void step(int by);
    int current() const;
    const std::vector<StakeRow>& stakes() const { return stakes_; }

    QComboBox* chooser() const { return chooser_; }
    QPushButton* previousButton() const { return previous_; }
    QPushButton* nextButton() const { return next_; }
    /// 保存横断面图…: the window asks for the file (RouteWindow::saveSection).
    QPushButton* saveButton() const { return save_; }
    /// 打印横断面图… and 保存横断面图集… (PDF or DXF), and the sheets' scale (its denominator);
    /// the window prints and saves (RouteWindow::printSectionSheets, saveSectionSheets).
    QPushButton* printSheetsButton() const { return printSheets_; }
    QPushButton* saveSheetsButton() const { return saveSheets_; }
    QComboBox* sheetScaleChooser() const { return sheetScale_; }
    int sheetScale() const;
    const std::vector<SectionGroundShown>& grounds() const { return grounds_; }
    SectionCanvas* canvas() const { return canvas_; }

  private:
    void show(int index);

    const Route* route_ = nullptr;
    const CrossSection* section_ = nullptr;
    std::vector<StakeRow> stakes_;
    std::vector<SectionGroundShown> grounds_;
    QComboBox* chooser_;
    QPushButton *previous_, *next_, *save_, *printSheets_, *saveSheets_;
    QComboBox* sheetScale_;
    QLabel* sheetScaleLabel_;
    SectionCanvas* canvas_;
};

}  // namespace hcurve
