// The boot file's bytes read into the launch settings.
#include "fake_system.h"
#include "launcher/boot_file.h"

namespace {

struct Expected {
  std::string install_dir, jrehome, default_options, lib_classpath;
};

Expected Parse(const std::string& bytes) {
  LaunchSettings settings;
  ParseBootFile(bytes, &settings);
  return {Narrow(settings.install_dir), Narrow(settings.jrehome), Narrow(settings.default_options),
          Narrow(settings.lib_classpath)};
}

TEST(BootFile, KeysValuesQuotesAndLines) {
  const std::string piece(4095 - 12, 'p');
  const std::pair<std::string, Expected> cases[] = {
      {"# written by the installer\ninstall_dir = C:\\Apps\\Finance\n   install_dir=\"C:\\Apps\\Finance\"\njrehome=\n"
       "default_options=-Xms32m -Dfile.encoding=Cp1252  \nlib-classpath=lib\\app.jar;lib\\ofx.jar\r\n"
       "Jrehome=C:\\jre\ndefault_options= -Xmx256m\n",
       {"C:\\Apps\\Finance", "", " -Xmx256m", "lib\\app.jar;lib\\ofx.jar"}},
      {"   #jrehome=C:\\x\njrehome=C:\\x #y\nJREHOME=C:\\z\njrehome =C:\\z", {"", "C:\\x #y", "", ""}},
      {"install_dir=a\ninstall_dir=", {"", "", "", ""}},
      {"install_dir=\"C:\\x\"  \t\r\n", {"C:\\x", "", "", ""}},
      {"install_dir= \"C:\\x\"", {" \"C:\\x\"", "", "", ""}},
      {"install_dir=\"C:\\x", {"\"C:\\x", "", "", ""}},
      {"install_dir=\"", {"", "", "", ""}},
      {"install_dir=\"\"", {"", "", "", ""}},
      {"install_dir='a=b'#", {"'a=b'#", "", "", ""}},
      {"\xEF\xBB\xBFinstall_dir=C:\\x\njrehome=j", {"", "j", "", ""}},
      {"install_dir=a\rjrehome=b\r", {"a\rjrehome=b", "", "", ""}},
      {std::string("install_dir=a\0b\njrehome=c", 25), {"a", "c", "", ""}},
      {"install_dir=a\x1Ajrehome=c", {"a", "", "", ""}},
      {"install_dir=\xE9t\xE9", {"\xE9t\xE9", "", "", ""}},
      {"install_dir=" + piece + "\n", {piece, "", "", ""}},
      {"install_dir=" + piece + "jrehome=j\n", {piece, "j", "", ""}},
      {"install_dir=" + piece + "x\r\njrehome=j", {piece, "j", "", ""}},
      {"", {"", "", "", ""}},
  };
  for (const auto& [bytes, expected] : cases) {
    const Expected actual = Parse(bytes);
    EXPECT_EQ(actual.install_dir, expected.install_dir) << bytes.substr(0, 60);
    EXPECT_EQ(actual.jrehome, expected.jrehome) << bytes.substr(0, 60);
    EXPECT_EQ(actual.default_options, expected.default_options) << bytes.substr(0, 60);
    EXPECT_EQ(actual.lib_classpath, expected.lib_classpath) << bytes.substr(0, 60);
  }
}

}  // namespace
