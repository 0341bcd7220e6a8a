// The notify record: its byte layout and the bounds of the tooltip field.
#include <gtest/gtest.h>

#include <cstring>

#include "TrayTestSupport.h"

namespace vexlo::test {
namespace {

uint32_t WordAt(const unsigned char* b, int at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t{b[at + 3]} << 24;
}

TEST(NotifyIconData, FilledRecordHasTheShellsByteLayout) {
    auto shell = std::make_shared<RecordingTrayShell>();
    TTrayIcon tray(nullptr, shell);
    tray.setToolTip("Vexlo");
    tray.setActive(true);  // no icon yet: no handle
    const QIcon icon = ColourIcon(Qt::red);
    tray.setIcon(icon);

    unsigned char b[88];
    std::memcpy(b, &shell->Calls().at(0).data, sizeof b);
    EXPECT_EQ(WordAt(b, 0), 88u);
    EXPECT_EQ(WordAt(b, 4), tray.WindowHandle());
    EXPECT_EQ(WordAt(b, 8), 0u);      // uID
    EXPECT_EQ(WordAt(b, 12), 7u);     // message, icon and tip
    EXPECT_EQ(WordAt(b, 16), 1025u);  // callback message
    EXPECT_EQ(WordAt(b, 20), 0u);
    EXPECT_EQ(std::memcmp(b + 24, "Vexlo", 6), 0);
    for (int i = 30; i < 88; ++i) {
        ASSERT_EQ(b[i], 0) << "byte " << i;
    }
    std::memcpy(b, &shell->Calls().at(1).data, sizeof b);
    EXPECT_NE(WordAt(b, 20), 0u);
    EXPECT_EQ(shell->Calls().at(1).icon.cacheKey(), icon.cacheKey());
}

TEST(NotifyIconData, TipFieldNeverOverflowsNorSplitsACharacter) {
    NOTIFYICONDATAA d;
    SetNotifyTip(d, QString(200, 'b'));
    EXPECT_EQ(NotifyTip(d), QString(63, 'b'));
    EXPECT_EQ(d.szTip[63], '\0');
    // UTF-8: two bytes each, 31 whole characters fit; four bytes each, 15.
    SetNotifyTip(d, QString(62, QChar(0x00E9)));
    EXPECT_EQ(NotifyTip(d), QString(31, QChar(0x00E9)));
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    SetNotifyTip(d, emoji.repeated(40));
    EXPECT_EQ(NotifyTip(d), emoji.repeated(15));
    SetNotifyTip(d, "");
    EXPECT_EQ(d.szTip[1], '\0');  // the old text is wiped, not left behind the NUL
    // A field without NUL is read to its end and no further.
    std::memset(d.szTip, 'z', sizeof d.szTip);
    EXPECT_EQ(NotifyTip(d), QString(64, 'z'));
}

}  // namespace
}  // namespace vexlo::test
