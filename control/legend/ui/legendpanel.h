#pragma once

#include "controllayout.h"
#include "legend.h"

#include <QWidget>

#include <memory>

class CanvasWidget;
class QKeyEvent;
class QLineEdit;
class QPainter;
class QMenu;
class QScrollBar;

// The legend beside the grid (picCatView): the list of rows drawn on a canvas (picCats) that
// scrolls under the view with its scroll bar (vScrollCat), the in-place editor (txtEdit) and the
// legend menu (mnuPopCat: Rename, Colour, Delete, New Category). It forwards the pointer and the
// editor's keys to its Legend.
class LegendPanel : public QWidget, private LegendView
{
    Q_OBJECT
public:
    LegendPanel(Planner &planner, CategoryEditor &editor, QWidget *parent);
    ~LegendPanel() override;

    Legend &legend() { return *m_legend; }
    CanvasWidget *list() const { return m_list; }
    QLineEdit *editor() const { return m_editor; }
    QMenu *menu() const { return m_menu; }
    QScrollBar *scrollBar() const { return m_scroll; }

    // Where the layout put the view (in the window), the list and the scroll bar (in the view).
    void apply(const QRectF &view, const QRectF &list, const ScrollBarLayout &scroll, double px,
               double py);
    // The scroll value in twips, 0 while the legend does not scroll.
    int scrollValue() const;
    // What assistive technology reads: the names of the rows (the categories, then the
    // calendars of marked days), the row the keyboard is on (1..N, 0 before it came), whether a
    // row is the category picked, and a row's place on the screen.
    QStringList rowNames() const;
    int keyRow() const { return m_keyRow; }
    bool isPicked(int row) const;
    QRect rowRect(int row) const;
    void setListFont(const QFont &font);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // LegendView
    Canvas &legendCanvas() override;
    double legendListWidth() const override;
    void legendDrawn() override;
    void showRenameEditor(const QRectF &where, const QString &text) override;
    void hideRenameEditor() override;
    bool renameEditorVisible() const override;
    QString renameEditorText() const override;
    void showLegendMenu() override;

    // The keys on the list: Up and Down move over the categories' rows, Space and Enter pick
    // (or put away) one as a click does, F2 renames it, the menu key opens the legend menu.
    bool keyPress(const QKeyEvent *key);
    double keyRowMiddle() const;
    void paintKeyRow(QPainter &painter);

    std::unique_ptr<Legend> m_legend;
    CanvasWidget *m_list = nullptr;
    QScrollBar *m_scroll = nullptr;
    QLineEdit *m_editor = nullptr; // null while the list is built: its events come first
    QMenu *m_menu = nullptr;
    Planner &m_planner;
    int m_keyRow = 0;
    bool m_menuFromKeyboard = false;
    double m_px = 15, m_py = 15;
};
