#include "output/frmCountyList.h"

#include "common/EntryBox.h"
#include "common/Form1.h"
#include "common/LogWindowLink.h"
#include "common/TwipsLayout.h"
#include "common/WindowFit.h"
#include "common/WindowRegistry.h"
#include "logstore/CountyTable.h"
#include "logstore/StationSettings.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>

namespace zq {

namespace {
constexpr double kDesignWidth = 9600, kDesignHeight = 7200, kColumnTwips = 1300;
}

frmCountyList::frmCountyList()
{
    setObjectName(QStringLiteral("frmCountyList"));
    setWindowTitle(QStringLiteral("County List"));
    setModal(true);
    resize(twipsToPixelsX(3150, this), twipsToPixelsY(6105, this));

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setColumnCount(0);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->header()->setStretchLastSection(false);
    placeControl(*ListView1, 120, 120, 2915, 5895);
    connect(ListView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ListView1_Click(item); });
    ListView1->setAccessibleName(QStringLiteral("Counties"));
    ListView1->installEventFilter(this);
}

bool frmCountyList::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == ListView1 && e->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(e);
        const bool pick = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter || k->key() == Qt::Key_Space;
        if (pick && (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            // The key picks the county the focus stands on, as a click on it.
            if (QTreeWidgetItem* item = ListView1->currentItem()) {
                ListView1->setCurrentItem(item);
                ListView1_Click(item);
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void frmCountyList::Form_Load()
{
    const QSizeF screen = workAreaTwips(this); // the available area, as the fit takes
    const double rW = screen.width() / kDesignWidth;
    // A sixth of the free height below the top of the screen.
    const double height = formTwips(*this).Height / kDesignHeight * screen.height();
    FitParameters p;
    p.placement = FitParameters::Placement::FixedTop;
    p.fixedTop = (screen.height() - height) / 6;
    p.windowFont = FitParameters::WindowFont::NewWidthOverDesign;
    p.controlFont = FitParameters::ControlFont::WidthRatioCapped;
    p.kinds = fitKindBit(FitKind::ListView) | fitKindBit(FitKind::CheckBox)
        | fitKindBit(FitKind::OptionButton) | fitKindBit(FitKind::Frame)
        | fitKindBit(FitKind::ListBox) | fitKindBit(FitKind::CommandButton)
        | fitKindBit(FitKind::TextBox) | fitKindBit(FitKind::Label) | fitKindBit(FitKind::Line);
    p.scaleListColumns = false;
    p.onError = FitParameters::OnError::Silent;
    FitWindow(*this, p);

    ListView1->setHeaderLabels({QStringLiteral("County"), QStringLiteral("Abbreviation")});
    const int width = twipsToPixelsX(rW * kColumnTwips, this);
    ListView1->header()->resizeSection(0, width);
    ListView1->header()->resizeSection(1, width);

    const CountyTable& t = CountyTable::instance();
    const int count = std::min(t.count(), CountyTable::Capacity);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(count);
    for (int i = 1; i <= count; ++i)
        rows << new QTreeWidgetItem(QStringList{t.CountyName[static_cast<size_t>(i)],
                                                t.CountyAbbrev[static_cast<size_t>(i)]});
    ListView1->addTopLevelItems(rows);
}

void frmCountyList::ListView1_Click(QTreeWidgetItem* item)
{
    // A click that selects no row changes nothing.
    if (!item)
        return;
    const QString county = item->text(0);
    if (ActiveLogWindow* window =
            Form1::loadedLogWindow(StationSettings::instance().OutOfStateFlag != 0))
        window->countyBox().setText(county);
    hide();
}

} // namespace zq
