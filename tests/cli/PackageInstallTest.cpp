// The Debian package that cpack made (in LUMORA_PACKAGE_DIR; ctest's package_install sets it),
// unpacked into a scratch root: its files where the system looks for them, valid desktop and
// AppStream data, and its programs working from there on the template library it installed.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "CliRunner.h"
#include "base/AppInfo.h"

namespace lumora::test {
namespace {

const QString kHome = "usr/lib/zeb-lumora/";
const QString kShare = "usr/share/";
const QString kMetainfo = kShare + "metainfo/example.zeb_software.lumora.metainfo.xml";

class PackageInstall : public testing::Test, public CliFixture {
 protected:
  void SetUp() override {
    const QString folder = qEnvironmentVariable("LUMORA_PACKAGE_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "ctest's package_install runs these on the package cpack made";
    const QStringList debs = QDir(folder).entryList({QString("zeb-lumora_%1_*.deb").arg(kVersionText)});
    ASSERT_EQ(debs.size(), 1) << folder.toStdString();
    m_deb = folder + "/" + debs[0];
    ASSERT_EQ(Run("dpkg-deb", {"-x", m_deb, Root()}).exitCode, 0);
  }
  CliRun Run(const QString& program, const QStringList& arguments,
             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) const {
    return Program(program, arguments, environment);
  }
  QString Root(const QString& path = "") const { return Scratch("root/" + path); }
  static QString Sources(const QString& path) { return Projects() + "/../../../" + path; }
  // The files under a folder, relative to it and sorted, but those under `skip`.
  static std::string Files(const QString& folder, const QString& skip = "") {
    QStringList files;
    for (QDirIterator it(folder, QDir::Files | QDir::System, QDirIterator::Subdirectories); it.hasNext();)
      if (const QString file = it.next().mid(folder.size() + 1); skip.isEmpty() || !file.startsWith(skip))
        files << file;
    files.sort();
    return files.join(' ').toStdString();
  }
  QString m_deb;
};

TEST_F(PackageInstall, FilesWhereTheSystemLooksAndWhatTheyNeed) {
  EXPECT_EQ(Files(Scratch("root"), kHome + "templates/"),
            "usr/bin/lumora usr/bin/lumora-cli usr/lib/zeb-lumora/lumora usr/lib/zeb-lumora/lumora-cli "
            "usr/share/applications/zeb-lumora.desktop usr/share/bash-completion/completions/lumora-cli "
            "usr/share/icons/hicolor/scalable/apps/zeb-lumora.svg "
            "usr/share/icons/hicolor/scalable/mimetypes/application-x-zeb-lumora-project.svg "
            "usr/share/man/man1/lumora-cli.1.gz usr/share/man/man1/lumora.1.gz " +
                kMetainfo.toStdString() + " usr/share/mime/packages/zeb-lumora-mime.xml");
  EXPECT_EQ(Files(Root(kHome + "templates")), Files(Sources("templates"), ".keep"));
  EXPECT_EQ(Run("dpkg-deb", {"-f", m_deb, "Version"}).out, std::string(kVersionText) + "\n");
  const std::string depends = Run("dpkg-deb", {"-f", m_deb, "Depends"}).out;
  for (const char* package : {"libqt6gui6", "libqt6widgets6", "libqt6svg6", "fonts-dejavu-core", "fonts-liberation"})
    EXPECT_NE(depends.find(package), std::string::npos) << package << " in " << depends;
  QFile metainfo(Root(kMetainfo));
  EXPECT_TRUE(metainfo.open(QIODevice::ReadOnly) &&
              metainfo.readAll().contains(QString("<release version=\"%1\"").arg(kVersionText).toUtf8()));
  for (const QStringList& validator :
       {QStringList{"desktop-file-validate", Root(kShare + "applications/zeb-lumora.desktop")},
        QStringList{"appstreamcli", "validate", "--no-net", Root(kMetainfo)},
        QStringList{"appstreamcli", "validate-tree", "--no-net", Root()}}) {
    const CliRun run = Run(validator[0], validator.mid(1));
    EXPECT_EQ(run.exitCode, 0) << validator.join(' ').toStdString() << ": " << run.out << run.err;
    EXPECT_EQ(run.out.find("W: "), std::string::npos) << run.out;
  }
}

// The installed lumora-cli finds the installed library by itself and renders what the build does.
TEST_F(PackageInstall, ProgramsRunFromWhereTheyAreInstalled) {
  QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
  noDisplay.remove("DISPLAY");
  noDisplay.insert("QT_QPA_PLATFORM", "xcb");
  EXPECT_EQ(Run(Root("usr/bin/lumora"), {"--version"}, noDisplay).out, std::string("lumora ") + kVersionText + "\n");
  EXPECT_EQ(Run(Root("usr/bin/lumora-cli"), {"--version"}).out, std::string("lumora-cli ") + kVersionText + "\n");

  QFile sample(Project("shadows.lmp")), banner(Scratch("banner.lmp"));
  ASSERT_TRUE(sample.open(QIODevice::ReadOnly) && banner.open(QIODevice::WriteOnly));
  banner.write(sample.readAll().replace("Banners\\Summer Sky\\sky.png", "Banners\\Waves\\Sky 728x90.jpg"));
  banner.close();
  const QString cli = Root("usr/bin/lumora-cli");
  for (const auto& [program, library, output] :
       {std::tuple{cli, QStringList(), "found.png"},
        {cli, QStringList{"--library", Root(kHome + "templates")}, "named.png"},
        {QString(LUMORA_CLI_PATH), QStringList{"--library", Sources("templates")}, "built.png"}}) {
    const CliRun run = Run(program, QStringList{"render", banner.fileName(), "-o", Scratch(output)} + library);
    EXPECT_EQ(run.exitCode, 0) << output << run.err;
  }
  EXPECT_EQ(QImage(Scratch("found.png")).size(), QSize(728, 90));
  EXPECT_EQ(QImage(Scratch("found.png")), QImage(Scratch("built.png")));
  EXPECT_EQ(QImage(Scratch("named.png")), QImage(Scratch("built.png")));
}

}  // namespace
}  // namespace lumora::test
