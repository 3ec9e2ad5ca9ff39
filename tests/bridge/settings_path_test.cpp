#include "bridge/SettingsPath.h"

#include <gtest/gtest.h>

namespace k4r::bridge {
namespace {

#ifndef _WIN32
TEST(SettingsPath, StoredAsUtf8AndOldCp932ValuesStillRead) {
  const struct {
    const char* what;
    ByteView stored;
    QString path;
    bool written;  // ToSettingsPath(path) gives `stored`
  } cases[] = {
      {"ASCII", "/opt/game/KAO_M.VX9", QStringLiteral("/opt/game/KAO_M.VX9"), true},
      {"outside CP932", "/tmp/\xe6\xb5\x8b\xe8\xaf\x95/m\xc3\xbcller/KAO_M.VX9",
       QStringLiteral("/tmp/测试/müller/KAO_M.VX9"), true},
      {"Japanese as UTF-8", "/\xe3\x82\xb2\xe3\x83\xbc\xe3\x83\xa0/KAO_M.VX9", QStringLiteral("/ゲーム/KAO_M.VX9"),
       true},
      {"Japanese as CP932, written before", "/\x83\x51\x81\x5b\x83\x80/KAO_M.VX9", QStringLiteral("/ゲーム/KAO_M.VX9"),
       false},
      {"empty", "", QString(), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FromSettingsPath(c.stored), c.path);
    const std::optional<ByteString> written = ToSettingsPath(c.path);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written == c.stored, c.written);
    EXPECT_EQ(FromSettingsPath(*written), c.path);
  }
  // A lone surrogate has no UTF-8 form: refused rather than stored as another path.
  EXPECT_EQ(ToSettingsPath(QString(QChar(0xD800))), std::nullopt);
}
#endif

}  // namespace
}  // namespace k4r::bridge
