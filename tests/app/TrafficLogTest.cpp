// The traffic window's list: the frames of a complete read in order, with the
// session's own texts and what they mean, its count, and its limit of 10,000
// frames.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>

#include "app/traffic/TrafficWindow.h"
#include "calibrator/RegisterMap.h"
#include "tests/app/WindowHarness.h"

namespace vadero {
namespace {

TEST(TrafficLog, ACompleteReadIsListedRequestThenAnswer) {
    test::WindowHarness w(1);
    w.device().SetHolding(reg::kFilter, 4);
    w.ConnectAndLoad();
    const TrafficLog& log = w.form().Trafic->Log();
    const auto& frames = log.Frames();
    ASSERT_GE(frames.size(), 6U);
    EXPECT_EQ(frames[0].text.rfind("TX : 64 03 00 00 00 0C", 0), 0U) << frames[0].text;
    for (std::size_t k = 0; k < frames.size(); ++k) {
        EXPECT_EQ(frames[k].sent, k % 2 == 0) << k;
        EXPECT_EQ(frames[k].text.rfind(frames[k].sent ? "TX : 64 " : "RX : 64 ", 0), 0U);
        if (k > 0) {
            EXPECT_GE(frames[k].ms, frames[k - 1].ms);
        }
    }
    // The answer to the read of registers 0 to 11, as the calibrator holds them.
    const std::string meaning = log.Meaning(frames[1]).toStdString();
    EXPECT_NE(meaning.find("gamme " + std::to_string(w.device().Holding(reg::kRange)) + " ("),
              std::string::npos)
        << meaning;
    EXPECT_NE(meaning.find("filtre 4 ("), std::string::npos) << meaning;
    // Its 29 bytes in full in the tooltip, sixteen to a line, the CRC last.
    const QString tip = log.data(log.index(1, TrafficLog::ColBytes), Qt::ToolTipRole).toString();
    const QString bytes = QString::fromStdString(frames[1].text).mid(5).trimmed();
    EXPECT_TRUE(tip.contains(bytes.left(47) + "<br>" + bytes.mid(48))) << tip.toStdString();
}

TEST(TrafficLog, TheCountIsOfTheRowsListedAndOfTheFramesHeld) {
    test::WindowHarness w(1);
    TForm1& f = w.form();
    w.ConnectAndLoad();
    TrafficWindow& traffic = *f.Trafic;
    const auto count = [&] {
        QApplication::processEvents();
        return traffic.LblCount->text();
    };
    // Opened after the frames came.
    f.ActTrafic->trigger();
    const int listed = traffic.List->model()->rowCount();
    EXPECT_GE(listed, 6);
    EXPECT_EQ(count(), QString("%1 trames").arg(listed));

    traffic.BtnPause->click();
    f.BtnReadAllClick();
    ASSERT_TRUE(w.TickUntil([&] { return traffic.Log().Held() >= 6; }));
    const std::size_t held = traffic.Log().Held();
    EXPECT_EQ(traffic.List->model()->rowCount(), listed);
    EXPECT_EQ(count(), QString("%1 trames, %2 en attente").arg(listed).arg(held));

    traffic.BtnPause->click();
    EXPECT_EQ(count(), QString("%1 trames").arg(listed + int(held)));
    EXPECT_EQ(traffic.List->model()->rowCount(), listed + int(held));
}

TEST(TrafficLog, KeepsTheLastTenThousandAndAPauseLosesNothing) {
    TrafficLog log(100);
    for (int k = 0; k < TrafficLog::kCapacity; ++k) log.Add(true, "TX : " + std::to_string(k));
    EXPECT_EQ(log.rowCount(), TrafficLog::kCapacity);
    EXPECT_EQ(log.Frames().front().text, "TX : 0");
    log.SetPaused(true);
    log.Add(false, "RX : last");
    EXPECT_EQ(log.Frames().back().text, "TX : 9999");
    log.SetPaused(false);
    EXPECT_EQ(log.rowCount(), TrafficLog::kCapacity);
    EXPECT_EQ(log.Frames().front().text, "TX : 1");
    EXPECT_EQ(log.Frames().back().text, "RX : last");
}

}  // namespace
}  // namespace vadero
