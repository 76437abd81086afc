#include "app/traffic/TrafficLog.h"

#include <QFontDatabase>

namespace vadero {

namespace {

// The bytes of a debug text, without its "TX : " or "RX : ".
QString BytesOf(const std::string& text) {
    const auto colon = text.find(": ");
    return QString::fromStdString(colon == std::string::npos ? text : text.substr(colon + 2))
        .trimmed();
}

// The bytes and the meaning in full, the bytes sixteen to a line.
QString ToolTip(const QString& bytes, const QString& meaning) {
    const QStringList all = bytes.split(' ', Qt::SkipEmptyParts);
    QStringList lines;
    for (qsizetype k = 0; k < all.size(); k += 16) lines << all.mid(k, 16).join(' ');
    return "<p style='white-space:pre'><tt>" + lines.join("<br>") + "</tt></p><p>" +
           meaning.toHtmlEscaped() + "</p>";
}

}  // namespace

TrafficLog::TrafficLog(std::uint8_t node, QObject* parent)
    : QAbstractTableModel(parent),
      node_(node),
      fixed_(QFontDatabase::systemFont(QFontDatabase::FixedFont)) {
    clock_.start();
}

void TrafficLog::Add(bool sent, const std::string& text) {
    TrafficFrame frame{clock_.elapsed(), sent, text, context_};
    context_ = ContextAfter(text, node_, context_);
    if (paused_) {
        if (held_.size() == kCapacity)
            held_.pop_front();
        held_.push_back(std::move(frame));
        emit frameHeld();
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

QString TrafficLog::Meaning(const TrafficFrame& frame) const {
    return FrameMeaning(frame.text, node_, frame.before);
}

std::string TrafficLog::Text() const {
    std::string text;
    for (const TrafficFrame& frame : frames_)
        text += std::to_string(frame.ms) + " " + frame.text + "\t" + Meaning(frame).toStdString() +
                "\n";
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
    if (role == Qt::ToolTipRole)
        return ToolTip(BytesOf(frame.text), Meaning(frame));
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
        case ColTime:
            return QString::number(frame.ms);
        case ColDirection:
            return frame.sent ? tr("émis") : tr("reçu");
        case ColBytes:
            return BytesOf(frame.text);
        case ColMeaning:
            return Meaning(frame);
        default:
            return {};
    }
}

QVariant TrafficLog::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
        case ColTime:
            return tr("Temps (ms)");
        case ColDirection:
            return tr("Sens");
        case ColBytes:
            return tr("Octets");
        case ColMeaning:
            return tr("Signification");
        default:
            return {};
    }
}

}  // namespace vadero
