#include "legendpanel.h"

#include "canvaswidget.h"
#include "categoryeditor.h"
#include "layoutapply.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>

#include <cmath>

namespace {

Legend::Button buttonOf(const QMouseEvent *e)
{
    return e->button() == Qt::RightButton ? Legend::Button::Right : Legend::Button::Left;
}

} // namespace

LegendPanel::LegendPanel(Planner &planner, CategoryEditor &editor, QWidget *parent)
    : QWidget(parent),
      m_legend(std::make_unique<Legend>(planner, editor, static_cast<LegendView &>(*this)))
{
    setObjectName(QStringLiteral("picCatView"));
    setMouseTracking(true);
    m_list = new CanvasWidget(this);
    m_list->setObjectName(QStringLiteral("picCats"));
    m_list->setMouseTracking(true);
    m_list->installEventFilter(this);
    m_scroll = new QScrollBar(Qt::Vertical, this);
    m_scroll->setObjectName(QStringLiteral("vScrollCat"));
    m_scroll->hide();
    connect(m_scroll, &QScrollBar::valueChanged, this,
            [this](int value) { m_list->move(0, int(std::lround(-value / m_py))); });
    m_editor = new QLineEdit(m_list);
    m_editor->setObjectName(QStringLiteral("txtEdit"));
    m_editor->hide();
    m_editor->installEventFilter(this);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("mnuPopCat"));
    const std::pair<const char *, const char *> items[] = {{"mnuCatRename", "Rename"},
                                                           {"mnuCatColour", "Colour"},
                                                           {"mnuCatDelete", "Delete"},
                                                           {"mnuCatNew", "New Category"}};
    for (const auto &[name, caption] : items)
        m_menu->addAction(QString::fromLatin1(caption))->setObjectName(QString::fromLatin1(name));
    const QList<QAction *> actions = m_menu->actions();
    connect(actions[0], &QAction::triggered, this, [this] { m_legend->BeginCategoryRename(); });
    connect(actions[1], &QAction::triggered, this, [&editor] { editor.CatColour(); });
    connect(actions[2], &QAction::triggered, this, [&editor] { editor.CatDelete(); });
    connect(actions[3], &QAction::triggered, this, [&editor] { editor.NewCategory(); });
}

LegendPanel::~LegendPanel() = default;

void LegendPanel::apply(const QRectF &view, const QRectF &list, const ScrollBarLayout &scroll,
                        double px, double py)
{
    m_px = px;
    m_py = py;
    setGeometry(PixelsOf(view, px, py));
    m_list->setGeometry(PixelsOf(list, px, py));
    ApplyScrollBar(m_scroll, scroll, PixelsOf(scroll.rect, px, py), 300);
}

int LegendPanel::scrollValue() const
{
    return m_scroll->isHidden() ? 0 : m_scroll->value();
}

void LegendPanel::setListFont(const QFont &font)
{
    m_list->font.font = font;
    m_editor->setFont(font);
}

bool LegendPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_legend->CommitCategoryRename();
            return true;
        }
        if (key == Qt::Key_Escape) {
            m_legend->cancelRename();
            return true;
        }
        return false;
    }
    if (watched != m_list)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
        m_legend->hover(static_cast<QMouseEvent *>(event)->position().y() * m_py);
        return false;
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        m_legend->press(buttonOf(mouse), mouse->position().y() * m_py);
        return true;
    }
    case QEvent::MouseButtonDblClick:
        m_legend->doubleClick(static_cast<QMouseEvent *>(event)->position().y() * m_py);
        return true;
    default:
        return false;
    }
}

void LegendPanel::mousePressEvent(QMouseEvent *event)
{
    m_legend->pressBesideList(buttonOf(event));
}

void LegendPanel::mouseMoveEvent(QMouseEvent *)
{
    m_legend->leaveList();
}

Canvas &LegendPanel::legendCanvas()
{
    return m_list->canvas();
}

double LegendPanel::legendListWidth() const
{
    return m_list->width() * m_px;
}

void LegendPanel::legendDrawn()
{
    m_list->update();
}

void LegendPanel::showRenameEditor(const QRectF &where, const QString &text)
{
    m_editor->setGeometry(PixelsOf(where, m_px, m_py));
    m_editor->setText(text);
    m_editor->show();
    m_editor->setFocus();
    m_editor->selectAll();
}

void LegendPanel::hideRenameEditor()
{
    m_editor->clear();
    m_editor->hide();
}

bool LegendPanel::renameEditorVisible() const
{
    return !m_editor->isHidden();
}

QString LegendPanel::renameEditorText() const
{
    return m_editor->text();
}

void LegendPanel::showLegendMenu()
{
    m_menu->popup(QCursor::pos());
}
