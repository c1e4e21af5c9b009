#pragma once

#include <QTableWidget>

namespace velmora {

// A read-only two-column key/value list: no title row, no scroll bars, grid lines between all
// cells, keys on the button-face colour. The user resizes the key column by dragging the grid
// line after it (there is no title row to drag); the value column takes the rest of the width.
// Ctrl+C copies the current cell's text.
class ValueListEditor : public QTableWidget {
    Q_OBJECT
public:
    // Sizes include the one-pixel grid line after the cell.
    static constexpr int RowHeight = 21;
    static constexpr int KeyColumnWidth = 96;
    static constexpr int MinimumColumnWidth = 8;

    explicit ValueListEditor(QWidget* parent = nullptr);

    // Empties the list.
    void clearRows();
    void appendRow(const QString& key, const QString& value);
    QString key(int row) const;
    QString value(int row) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool onKeyColumnEdge(int x) const;

    bool m_resizing = false;
};

} // namespace velmora
