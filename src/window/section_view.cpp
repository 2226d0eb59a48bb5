#include "window/section_view.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

namespace hcurve {
namespace {

constexpr int kLabelFont_px = 12;
constexpr int kLeastWidth_px = 480, kLeastHeight_px = 320;
constexpr int kChooserLetters = 18;
// The sheets' scales offered, the second the default.
constexpr int kSheetScales[] = {100, 200, 500, 1000};
constexpr int kDefaultScaleIndex = 1;

}  // namespace

SectionCanvas::SectionCanvas(QWidget* parent) : QWidget(parent) {
    setMinimumSize(kLeastWidth_px, kLeastHeight_px);
    setFocusPolicy(Qt::StrongFocus);
    setObjectName(QStringLiteral("sectionCanvas"));
}

void SectionCanvas::showStake(const Route* route, const CrossSection* section, double continuous_m,
                              const std::string& stakeText, const SectionGroundShown* ground) {
    route_ = route;
    section_ = section;
    continuous_m_ = continuous_m;
    stakeText_ = stakeText;
    ground_.reset();
    if (ground)
        ground_ = *ground;
    layOut();
    update();
}

void SectionCanvas::layOut() {
    if (!route_ || !section_) {
        picture_ = SectionPicture{};
        picture_.size = size();
        return;
    }
    QFont labels = font();
    labels.setPixelSize(kLabelFont_px);
    picture_ = sectionPicture(*section_, *route_, continuous_m_, stakeText_, size(), labels,
                              ground_ ? &*ground_ : nullptr);
}

void SectionCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void SectionCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!route_ || !section_) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    paintSection(painter, picture_);
}

void SectionCanvas::keyPressEvent(QKeyEvent* event) {
    // The arrows step as the page keys do: the page hears them.
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down:
            if (auto* page = dynamic_cast<SectionPage*>(parentWidget())) {
                page->step(event->key() == Qt::Key_Left || event->key() == Qt::Key_Up ? -1 : 1);
                return;
            }
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}

SectionPage::SectionPage(QWidget* parent) : QWidget(parent) {
    previous_ = new QPushButton(QStringLiteral("◀ 上一桩"), this);
    previous_->setToolTip(QStringLiteral("上一个桩的横断面 (PageUp)"));
    next_ = new QPushButton(QStringLiteral("下一桩 ▶"), this);
    next_->setToolTip(QStringLiteral("下一个桩的横断面 (PageDown)"));
    chooser_ = new QComboBox(this);
    chooser_->setObjectName(QStringLiteral("sectionStake"));
    chooser_->setToolTip(QStringLiteral("中桩表的桩（还没有计算时每 20 米一个）"));
    // Sized for a chainage and a point's name, not measured over every stake of a long table.
    chooser_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    chooser_->setMinimumContentsLength(kChooserLetters);
    chooser_->setMaxVisibleItems(20);
    save_ = new QPushButton(QStringLiteral("保存横断面图…"), this);
    save_->setObjectName(QStringLiteral("saveSection"));
    save_->setToolTip(QStringLiteral("这个桩的横断面存为 PNG、SVG 或 PDF 文件"));
    printSheets_ = new QPushButton(QStringLiteral("打印横断面图…"), this);
    printSheets_->setObjectName(QStringLiteral("printSectionSheets"));
    printSheets_->setToolTip(QStringLiteral("有地面线的各桩横断面，按比例排在 A3 图纸上打印"));
    saveSheets_ = new QPushButton(QStringLiteral("保存横断面图集…"), this);
    saveSheets_->setObjectName(QStringLiteral("saveSectionSheets"));
    saveSheets_->setToolTip(
        QStringLiteral("有地面线的各桩横断面，按比例排在 A3 图纸上，存为 PDF 或 DXF 文件"));
    sheetScaleLabel_ = new QLabel(QStringLiteral("比例"), this);
    sheetScale_ = new QComboBox(this);
    sheetScale_->setObjectName(QStringLiteral("sheetScale"));
    for (int scale : kSheetScales)
        sheetScale_->addItem(QStringLiteral("1:%1").arg(scale), scale);
    sheetScale_->setCurrentIndex(kDefaultScaleIndex);
    sheetScaleLabel_->setBuddy(sheetScale_);
    for (QWidget* w : {static_cast<QWidget*>(printSheets_), static_cast<QWidget*>(saveSheets_),
                       static_cast<QWidget*>(sheetScale_), static_cast<QWidget*>(sheetScaleLabel_)})
        w->hide();
    canvas_ = new SectionCanvas(this);
    auto* tools = new QHBoxLayout;
    tools->addWidget(previous_);
    tools->addWidget(chooser_);
    tools->addWidget(next_);
    tools->addSpacing(16);
    tools->addWidget(save_);
    tools->addSpacing(16);
    tools->addWidget(sheetScaleLabel_);
    tools->addWidget(sheetScale_);
    tools->addWidget(printSheets_);
    tools->addWidget(saveSheets_);
    tools->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(canvas_, 1);
    connect(previous_, &QPushButton::clicked, this, [this] { step(-1); });
    connect(next_, &QPushButton::clicked, this, [this] { step(1); });
    connect(chooser_, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { show(index); });
    for (auto [key, by] : {std::pair{Qt::Key_PageUp, -1}, std::pair{Qt::Key_PageDown, 1}}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, by = by] { step(by); });
    }
}

int SectionPage::sheetScale() const {
    return sheetScale_->currentData().toInt();
}

void SectionPage::setStakes(const Route* route, const CrossSection* section,
                            std::vector<StakeRow> stakes, std::vector<SectionGroundShown> grounds) {
    const int was = current();
    const double shown_m = was >= 0 && static_cast<std::size_t>(was) < stakes_.size()
                               ? stakes_[static_cast<std::size_t>(was)].continuous_m
                               : 0;
    route_ = route;
    section_ = section;
    stakes_ = std::move(stakes);
    grounds_ = std::move(grounds);
    if (grounds_.size() != stakes_.size())
        grounds_.clear();
    const bool sheets = !grounds_.empty();
    for (QWidget* w : {static_cast<QWidget*>(printSheets_), static_cast<QWidget*>(saveSheets_),
                       static_cast<QWidget*>(sheetScale_), static_cast<QWidget*>(sheetScaleLabel_)})
        w->setVisible(sheets);
    int nearest = 0;
    if (was >= 0) {
        for (std::size_t i = 0; i < stakes_.size(); ++i) {
            if (std::fabs(stakes_[i].continuous_m - shown_m) <
                std::fabs(stakes_[static_cast<std::size_t>(nearest)].continuous_m - shown_m))
                nearest = static_cast<int>(i);
        }
    }
    {
        const QSignalBlocker quiet(chooser_);
        chooser_->clear();
        QStringList items;
        items.reserve(static_cast<int>(stakes_.size()));
        for (const StakeRow& r : stakes_) {
            QString item = QString::fromStdString(r.text);
            if (!r.point.empty())
                item += QStringLiteral("  ") + QString::fromStdString(r.point);
            items << item;
        }
        chooser_->addItems(items);
        chooser_->setCurrentIndex(stakes_.empty() ? -1 : nearest);
    }
    show(stakes_.empty() ? -1 : nearest);
}

int SectionPage::current() const {
    return chooser_->currentIndex();
}

void SectionPage::step(int by) {
    if (stakes_.empty())
        return;
    const int last = static_cast<int>(stakes_.size()) - 1;
    const int to = std::clamp(current() + by, 0, last);
    if (to != current())
        chooser_->setCurrentIndex(to);  // shows it
}

void SectionPage::show(int index) {
    previous_->setEnabled(index > 0);
    save_->setEnabled(index >= 0 && static_cast<std::size_t>(index) < stakes_.size());
    next_->setEnabled(index >= 0 && index + 1 < static_cast<int>(stakes_.size()));
    if (index < 0 || static_cast<std::size_t>(index) >= stakes_.size()) {
        canvas_->showStake(nullptr, nullptr, 0, {});
        return;
    }
    const StakeRow& r = stakes_[static_cast<std::size_t>(index)];
    canvas_->showStake(route_, section_, r.continuous_m, r.text,
                       grounds_.empty() ? nullptr : &grounds_[static_cast<std::size_t>(index)]);
}

}  // namespace hcurve
