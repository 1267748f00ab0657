#include "legendpanel.h"

#include "canvaswidget.h"
#include "categoryeditor.h"
#include "layoutapply.h"

#include "planner.h"
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
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
      m_legend(std::make_unique<Legend>(planner, editor, static_cast<LegendView &>(*this))),
      m_planner(planner)
{
    setObjectName(QStringLiteral("picCatView"));
    setMouseTracking(true);
    m_list = new CanvasWidget(this);
    m_list->setObjectName(QStringLiteral("picCats"));
    m_list->setMouseTracking(true);
    m_list->installEventFilter(this);
    m_list->setFocusPolicy(Qt::StrongFocus);
    m_list->setAccessibleName(tr("Categories"));
    m_list->overlay = [this](QPainter &painter) { paintKeyRow(painter); };
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
    const std::pair<const char *, QString> items[] = {{"mnuCatRename", tr("Rename")},
                                                      {"mnuCatColour", tr("Colour")},
                                                      {"mnuCatDelete", tr("Delete")},
                                                      {"mnuCatNew", tr("New Category")}};
    for (const auto &[name, caption] : items)
        m_menu->addAction(caption)->setObjectName(QString::fromLatin1(name));
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
    case QEvent::KeyPress:
        return keyPress(static_cast<QKeyEvent *>(event));
    case QEvent::FocusIn:
        if (m_keyRow == 0)
            m_keyRow = std::max<int>(m_planner.SelectedCategory(), 1);
        m_list->update();
        return false;
    case QEvent::FocusOut:
        m_list->update();
        return false;
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
    const QPoint at = m_menuFromKeyboard
                          ? m_list->mapToGlobal(QPoint(m_list->width() / 2,
                                                       int(std::lround(keyRowMiddle() / m_py))))
                          : QCursor::pos();
    m_menuFromKeyboard = false;
    m_menu->popup(at);
}

double LegendPanel::keyRowMiddle() const
{
    const LegendRows &rows = m_legend->rows();
    if (m_keyRow < 1 || m_keyRow > rows.count())
        return -1;
    return (rows.bottoms[m_keyRow - 1] + rows.bottoms[m_keyRow]) / 2.0;
}

bool LegendPanel::keyPress(const QKeyEvent *key)
{
    const int categories = int(m_planner.state().categories.names.size());
    if (categories == 0)
        return false;
    m_keyRow = std::clamp(m_keyRow, 1, categories);
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        m_keyRow = std::clamp(m_keyRow + (key->key() == Qt::Key_Up ? -1 : 1), 1, categories);
        m_legend->hover(keyRowMiddle());
        m_list->update();
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_legend->press(Legend::Button::Left, keyRowMiddle());
        break;
    case Qt::Key_F2:
        m_legend->doubleClick(keyRowMiddle());
        break;
    case Qt::Key_F10:
        if (!shift)
            return false;
        [[fallthrough]];
    case Qt::Key_Menu:
        m_menuFromKeyboard = true;
        m_legend->press(Legend::Button::Right, keyRowMiddle());
        m_menuFromKeyboard = false;
        break;
    default:
        return false;
    }
    return true;
}

void LegendPanel::paintKeyRow(QPainter &painter)
{
    if (!m_list->hasFocus() || m_keyRow < 1 || m_keyRow > m_legend->rows().count())
        return;
    const QRect row = rowRect(m_keyRow).translated(-m_list->mapToGlobal(QPoint(0, 0)));
    painter.save();
    painter.setPen(QPen(QColor(0x00, 0x5A, 0xD2), 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(row.adjusted(1, 1, -2, -2));
    painter.restore();
}

QStringList LegendPanel::rowNames() const
{
    return m_planner.state().legendTable().names;
}

bool LegendPanel::isPicked(int row) const
{
    return row >= 1 && row == m_planner.SelectedCategory();
}

QRect LegendPanel::rowRect(int row) const
{
    const LegendRows &rows = m_legend->rows();
    if (row < 1 || row > rows.count())
        return QRect();
    const int top = int(std::lround(rows.bottoms[row - 1] / m_py));
    const int bottom = int(std::lround(rows.bottoms[row] / m_py));
    return QRect(m_list->mapToGlobal(QPoint(0, top)), QSize(m_list->width(), bottom - top));
}
