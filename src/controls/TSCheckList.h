#pragma once

#include <QListView>

namespace vorlo {

// The playlist's list view (one line per entry, each with a check box) that reports scrolling after the
// list has moved, so that an open in-place editor can follow or close. It also gives long lines a settable
// horizontal scroll extent, as wide as the widest name needs.
class TSCheckList : public QListView {
    Q_OBJECT

public:
    // Scroll codes as a scroll bar reports them.
    enum ScrollCode {
        LineUp = 0,
        LineDown = 1,
        PageUp = 2,
        PageDown = 3,
        ThumbPosition = 4,
        ThumbTrack = 5,
        Top = 6,
        Bottom = 7,
        EndScroll = 8,
    };
    Q_ENUM(ScrollCode)

    explicit TSCheckList(QWidget* parent = nullptr);

    // Width in pixels that the lines may be scrolled across; 0 means only the visible width.
    int horizontalExtent() const { return horizontalExtent_; }
    void setHorizontalExtent(int pixels);

signals:
    void OnVScroll(vorlo::TSCheckList* sender, int scrollCode, int scrollPos);
    void OnHScroll(vorlo::TSCheckList* sender, int scrollCode, int scrollPos);
    // A drag of the list's lines is about to start; and it has ended, dropped or not.
    void OnStartDrag();
    void OnEndDrag();

protected:
    void scrollContentsBy(int dx, int dy) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    static int codeForAction(int sliderAction);

    int horizontalExtent_ = 0;
    int lastVerticalCode_ = ThumbPosition;
    int lastHorizontalCode_ = ThumbPosition;
};

}  // namespace vorlo
