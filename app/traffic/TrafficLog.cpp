#include "app/traffic/TrafficLog.h"

#include <QFontDatabase>

#include "app/traffic/FrameMeaning.h"

namespace vadero {

namespace {

// The bytes of a debug text, without its "TX : " or "RX : ".
QString BytesOf(const std::string& text) {
    const auto colon = text.find(": ");
    return QString::fromStdString(colon == std::string::npos ? text : text.substr(colon + 2))
        .trimmed();
}

}  // namespace

TrafficLog::TrafficLog(std::uint8_t node, QObject* parent)
    : QAbstractTableModel(parent),
      node_(node),
      fixed_(QFontDatabase::systemFont(QFontDatabase::FixedFont)) {
    clock_.start();
}

void TrafficLog::Add(bool sent, const std::string& text) {
    TrafficFrame frame{clock_.elapsed(), sent, text};
    if (paused_) {
        if (held_.size() == kCapacity)
            held_.pop_front();
        held_.push_back(std::move(frame));
        return;
    }
    if (frames_.size() == kCapacity) {
        beginRemoveRows(QModelIndex(), 0, 0);
        frames_.pop_front();
        endRemoveRows();
    }
    const int row = int(frames_.size());
    beginInsertRows(QModelIndex(), row, row);
    frames_.push_back(std::move(frame));
    endInsertRows();
}

void TrafficLog::SetPaused(bool paused) {
    if (paused == paused_)
        return;
    paused_ = paused;
    if (paused_ || held_.empty())
        return;
    beginResetModel();
    for (TrafficFrame& frame : held_) frames_.push_back(std::move(frame));
    held_.clear();
    while (frames_.size() > kCapacity) frames_.pop_front();
    endResetModel();
}

void TrafficLog::Clear() {
    beginResetModel();
    frames_.clear();
    held_.clear();
    endResetModel();
}

std::string TrafficLog::Meaning(const TrafficFrame& frame) const {
    return FrameMeaning(frame.text, node_);
}

std::string TrafficLog::Text() const {
    std::string text;
    for (const TrafficFrame& frame : frames_)
        text += std::to_string(frame.ms) + " " + frame.text + "\t" + Meaning(frame) + "\n";
    return text;
}

int TrafficLog::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(frames_.size());
}

int TrafficLog::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrafficLog::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(frames_.size()))
        return {};
    const TrafficFrame& frame = frames_[std::size_t(index.row())];
    if (role == Qt::FontRole && index.column() == ColBytes)
        return fixed_;
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
        case ColTime:
            return QString::number(frame.ms);
        case ColDirection:
            return frame.sent ? QString("émis") : QString("reçu");
        case ColBytes:
            return BytesOf(frame.text);
        case ColMeaning:
            return QString::fromStdString(Meaning(frame));
        default:
            return {};
    }
}

QVariant TrafficLog::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kTitles[] = {"Temps (ms)", "Sens", "Octets", "Signification"};
    return section >= 0 && section < ColumnCount ? QString(kTitles[section]) : QVariant();
}

}  // namespace vadero
