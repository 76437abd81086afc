#pragma once
// The frames sent and received, as the traffic window lists them: the last
// 10,000, each with its time, direction, the session's debug text (the text
// of `lcx3 --trace`) and what it means in the calibrator's terms, read with
// the frames before it. Appending is cheap; a pause holds new frames back
// from the list without losing them.

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QFont>
#include <cstdint>
#include <deque>
#include <string>

#include "app/traffic/FrameMeaning.h"

namespace vadero {

struct TrafficFrame {
    qint64 ms = 0;  // since the log was made
    bool sent = false;
    std::string text;       // "TX : 64 03 00 00 00 0C 4D F8 "
    TrafficContext before;  // what the frames before it tell
};

class TrafficLog : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int kCapacity = 10000;
    enum Column { ColTime, ColDirection, ColBytes, ColMeaning, ColumnCount };

    explicit TrafficLog(std::uint8_t node, QObject* parent = nullptr);

    void Add(bool sent, const std::string& text);
    // Paused, frames are held back; resuming lists them (the last 10,000 kept).
    void SetPaused(bool paused);
    bool Paused() const { return paused_; }
    void Clear();
    const std::deque<TrafficFrame>& Frames() const { return frames_; }
    std::size_t Held() const { return held_.size(); }
    // The listed frames, one line each: "ms text<TAB>meaning".
    std::string Text() const;
    QString Meaning(const TrafficFrame& frame) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  signals:
    // A frame was held back while paused.
    void frameHeld();

  private:
    const std::uint8_t node_;
    QElapsedTimer clock_;
    const QFont fixed_;
    bool paused_ = false;
    TrafficContext context_;  // after the last frame added
    std::deque<TrafficFrame> frames_;
    std::deque<TrafficFrame> held_;
};

}  // namespace vadero
