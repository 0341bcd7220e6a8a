// The notify record: its byte layout and the tooltip field's bounds.
#include <gtest/gtest.h>

#include <cstring>

#include "NotifyIconData.h"
#include "TrayTestSupport.h"

namespace vexlo {
namespace {

uint32_t WordAt(const unsigned char* bytes, int offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           uint32_t{bytes[offset + 3]} << 24;
}

TEST(NotifyIconData, FilledRecordHasTheShellsByteLayout) {
    auto shell = std::make_shared<RecordingTrayShell>();
    TTrayIcon tray(nullptr, shell);
    const QIcon icon = test::ColourIcon(Qt::red);
    tray.setIcon(icon);
    tray.setToolTip("Vexlo");
    tray.setActive(true);

    ASSERT_EQ(shell->Calls().size(), 1u);
    const RecordingTrayShell::Call& add = shell->Calls()[0];
    unsigned char bytes[88];
    static_assert(sizeof bytes == sizeof add.data);
    std::memcpy(bytes, &add.data, sizeof bytes);
    EXPECT_EQ(WordAt(bytes, 0), 88u);
    EXPECT_EQ(WordAt(bytes, 4), tray.WindowHandle());
    EXPECT_EQ(WordAt(bytes, 8), 0u);      // uID
    EXPECT_EQ(WordAt(bytes, 12), 7u);     // message, icon and tip
    EXPECT_EQ(WordAt(bytes, 16), 1025u);  // callback message
    EXPECT_NE(WordAt(bytes, 20), 0u);     // the icon's handle
    EXPECT_EQ(add.icon.cacheKey(), icon.cacheKey());
    EXPECT_EQ(std::memcmp(bytes + 24, "Vexlo\0", 6), 0);
    for (int i = 30; i < 88; ++i) {
        EXPECT_EQ(bytes[i], 0) << "byte " << i;
    }
}

TEST(NotifyIconData, EmptyIconHasNoHandle) {
    auto shell = std::make_shared<RecordingTrayShell>();
    TTrayIcon tray(nullptr, shell);
    tray.setActive(true);
    EXPECT_EQ(shell->Calls().at(0).data.hIcon, 0u);
    EXPECT_TRUE(shell->Calls().at(0).icon.isNull());
}

TEST(NotifyIconData, TipFieldNeverOverflowsNorSplitsACharacter) {
    NOTIFYICONDATAA data;
    std::memset(data.szTip, 'x', sizeof data.szTip);

    SetNotifyTip(data, QString(63, 'a'));
    EXPECT_EQ(NotifyTip(data), QString(63, 'a'));
    EXPECT_EQ(data.szTip[63], '\0');

    SetNotifyTip(data, QString(200, 'b'));
    EXPECT_EQ(NotifyTip(data), QString(63, 'b'));

    // Two bytes each in UTF-8: 31 whole characters fit before the NUL.
    SetNotifyTip(data, QString(62, QChar(0x00E9)));
    EXPECT_EQ(NotifyTip(data), QString(31, QChar(0x00E9)));

    // Four bytes each: 15 whole characters (60 bytes); none cut in half.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    SetNotifyTip(data, emoji.repeated(40));
    EXPECT_EQ(NotifyTip(data), emoji.repeated(15));

    SetNotifyTip(data, QString());
    EXPECT_EQ(NotifyTip(data), QString());
    EXPECT_EQ(data.szTip[1], '\0');  // the old text is cleared, not left behind the NUL
}

TEST(NotifyIconData, TipWithoutNulIsReadOnlyToTheFieldsEnd) {
    NOTIFYICONDATAA data;
    std::memset(data.szTip, 'z', sizeof data.szTip);
    EXPECT_EQ(NotifyTip(data), QString(64, 'z'));
}

}  // namespace
}  // namespace vexlo
