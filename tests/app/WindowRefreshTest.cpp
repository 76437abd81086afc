// A complete read followed by a complete write sends back the registers read,
// whatever the pages' pictures round; typing stores what is typed.
#include <gtest/gtest.h>
#include <QLineEdit>
#include <QTest>

#include "app/pages/MainPage.h"
#include "calibrator/Conversions.h"
#include "calibrator/LCXParams.h"
#include "tests/app/WindowHarness.h"

namespace vadero {
namespace {

using test::WindowHarness;

// Banks whose values a page's display would round: user zero -12.25 shown
// with one decimal, memories between two steps of three decimals.
void LoadAwkwardBank(emu::EmulatedLcx3& device) {
    RegisterImage image{};
    TLCXParams p(image);
    p.SetUserFullScale(12.345F);
    p.SetUserZero(-12.25F);
    p.SetUserFormat(CodeOfFormat(5, 1));
    for (int k : {4, 5, 6, 7, 8}) device.SetHolding(k, p.Word(k));
    const std::uint16_t memories[] = {15433, 2801, 12613, 23809};
    for (int i = 0; i < 4; ++i) {
        device.SetHolding(48 + i, memories[i]);
        device.SetHolding(56 + i, memories[i]);
        device.SetHolding(64 + i, memories[i]);
    }
}

std::vector<std::uint16_t> Holdings(const emu::EmulatedLcx3& device) {
    std::vector<std::uint16_t> words;
    for (int k = 0; k < TLCXParams::kCount; ++k) words.push_back(device.Holding(k));
    return words;
}

void WriteAll(WindowHarness& w) {
    TForm1& f = w.form();
    f.BtnWriteAllClick();
    ASSERT_TRUE(w.TickUntil([&] { return f.StatusText() == "Ecriture des paramètres terminée"; }));
}

TEST(WindowRefresh, AWriteWithoutEditSendsBackWhatWasRead) {
    WindowHarness w(1);
    LoadAwkwardBank(w.device());
    const auto before = Holdings(w.device());
    w.ConnectAndLoad();
    w.device().ResetWriteCounts();
    WriteAll(w);
    EXPECT_GT(w.device().WriteCount(48), 0U);
    EXPECT_EQ(Holdings(w.device()), before);
}

TEST(WindowRefresh, OneTypedMemoryIsTheOnlyRegisterChanged) {
    WindowHarness w(1);
    LoadAwkwardBank(w.device());
    auto expected = Holdings(w.device());
    w.ConnectAndLoad();
    w.ClickTab(3);
    auto* edit = w.form().findChild<QLineEdit*>("Edit2");
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "1.25");
    EXPECT_EQ(edit->text(), "1.25");
    QTest::keyClick(edit, Qt::Key_Return);
    WriteAll(w);
    expected[49] = 1750;  // 1.25 mA of 0-20 mA
    EXPECT_EQ(Holdings(w.device()), expected);
}

}  // namespace
}  // namespace vadero
