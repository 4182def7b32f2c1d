#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "project/TemplatePath.h"

namespace lumora {
namespace fs = std::filesystem;
namespace {

class TemplatePath : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("lumora_library_" + std::to_string(::getpid()));
    fs::remove_all(m_root);
    fs::create_directories(m_root / "templates" / "Banners" / "Summer");
    std::ofstream(m_root / "templates" / "Banners" / "Summer" / "Sea View.jpg") << "x";
    std::ofstream(m_root / "secret.jpg") << "outside";
  }
  void TearDown() override { fs::remove_all(m_root); }

  fs::path library() const { return m_root / "templates"; }
  fs::path sea() const { return library() / "Banners" / "Summer" / "Sea View.jpg"; }

  fs::path m_root;
};

// Either separator, empty and "." components skipped; letter case ignored only when nothing
// matches exactly, then the first in name order.
TEST_F(TemplatePath, FindsThePictureInTheLibrary) {
  for (const char* name : {"Banners\\Summer\\Sea View.jpg", "Banners/Summer/Sea View.jpg",
                           "Banners\\\\Summer\\.\\Sea View.jpg", "BANNERS\\summer\\sea view.JPG"})
    EXPECT_EQ(ResolveTemplatePath(library(), name), sea()) << name;
  std::ofstream(library() / "Banners" / "Summer" / "sea view.jpg") << "y";
  EXPECT_EQ(ResolveTemplatePath(library(), "Banners\\Summer\\sea view.jpg"), library() / "Banners" / "Summer" / "sea view.jpg");
  EXPECT_EQ(ResolveTemplatePath(library(), "Banners\\Summer\\Sea View.jpg"), sea());
  EXPECT_EQ(ResolveTemplatePath(library(), "Banners\\Summer\\SEA VIEW.JPG"), sea());
}

struct RefusedName {
  const char* name;
  const char* reason;
};

class RefusedTemplatePath : public TemplatePath, public ::testing::WithParamInterface<RefusedName> {};

TEST_P(RefusedTemplatePath, NeverLeavesTheLibrary) {
  std::string problem;
  EXPECT_EQ(ResolveTemplatePath(library(), GetParam().name, &problem), std::nullopt);
  EXPECT_NE(problem.find(GetParam().reason), std::string::npos) << problem;
}

INSTANTIATE_TEST_SUITE_P(
    Names, RefusedTemplatePath,
    ::testing::Values(RefusedName{"..\\secret.jpg", "outside"}, RefusedName{"Banners\\..\\..\\secret.jpg", "outside"},
                      RefusedName{"Banners/../../secret.jpg", "outside"}, RefusedName{"/etc/passwd", "absolute"},
                      RefusedName{"\\\\server\\share\\a.jpg", "absolute"}, RefusedName{"C:\\a.jpg", "absolute"},
                      RefusedName{"", "no template"}, RefusedName{"\\", "absolute"}, RefusedName{".", "not a picture"},
                      RefusedName{"Banners\\Summer\\Missing.jpg", "not in the template library"},
                      RefusedName{"Banners\\Summer", "not a picture"}));

}  // namespace
}  // namespace lumora
