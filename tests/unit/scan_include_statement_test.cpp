#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/include_statement.h"

namespace pbz {
namespace {

// The statements of a line as "Kind<argument>" texts.
std::vector<std::string> Statements(std::string_view line) {
  std::vector<IncludeStatement> found;
  FindIncludeStatements(line, found);
  std::vector<std::string> out;
  for (const IncludeStatement& s : found) {
    const char* kind = s.Kind == IncludeKind::kIncludePath   ? "Path"
                       : s.Kind == IncludeKind::kIncludeFile ? "File"
                                                             : "XFile";
    out.push_back(std::string(kind) + "<" + std::string(s.Argument) + ">");
  }
  return out;
}

TEST(FindIncludeStatements, FindsKeywordsOnlyAsFirstWordOfAStatement) {
  struct Case {
    const char* line;
    std::vector<std::string> want;
  } cases[] = {
      {"IncludeFile \"a.pbi\"", {"File< \"a.pbi\">"}},
      {"XIncludeFile \"a.pbi\"", {"XFile< \"a.pbi\">"}},
      {"IncludePath \"inc/\"", {"Path< \"inc/\">"}},
      {"IncludeFile\t\"a.pbi\"", {"File<\t\"a.pbi\">"}},
      {"IncludeFile\"a.pbi\"", {"File<\"a.pbi\">"}},
      {"XIncludeFile #PB_Compiler_Home + \"x.pbi\"", {"XFile< #PB_Compiler_Home + \"x.pbi\">"}},
      // Comment cut, but not at a ";" inside a literal.
      {"IncludeFile \"a.pbi\" ; the helpers", {"File< \"a.pbi\" >"}},
      {"IncludeFile \"a;b.pbi\" ; x", {"File< \"a;b.pbi\" >"}},
      {"; IncludeFile \"a.pbi\"", {}},
      {"x = 1 ; IncludeFile \"a.pbi\"", {}},
      // Statements after ":" count; a ":" inside a literal splits nothing.
      {"IncludePath \"inc/\" : XIncludeFile \"a.pbi\"", {"Path< \"inc/\" >", "XFile< \"a.pbi\">"}},
      {"x = 1 :IncludeFile \"a.pbi\"", {"File< \"a.pbi\">"}},
      {"x = 1:\tIncludeFile \"a.pbi\"", {"File< \"a.pbi\">"}},
      {"IncludeFile \"c:x.pbi\"", {"File< \"c:x.pbi\">"}},
      {"s$ = \"a : IncludeFile \\\"b\\\"\"", {}},
      // The keyword elsewhere than at the start of a statement.
      {"If FindString(x$, \"XIncludeFile\") : EndIf", {}},
      {"#KEYWORD_IncludePath = 5", {}},
      {"#IncludeFile = 2", {}},
      {"Debug \"IncludeFile x\"", {}},
      {"MyIncludeFile \"a.pbi\"", {}},
      // The keyword must be followed by a space, a TAB, a quote or "#".
      {"IncludeFile", {}},
      {"IncludeFiles \"a.pbi\"", {}},
      {"IncludeFile(\"a.pbi\")", {}},
      {"IncludeFile.s = 3", {}},
      {"IncludePath= \"x\"", {}},
      {"includefile \"a.pbi\"", {}},
      {"INCLUDEFILE \"a.pbi\"", {}},
      {"IncludeBinary \"a.bin\"", {}},
      {"IncludeFile #Folder + \"a.pbi\"", {"File< #Folder + \"a.pbi\">"}},
      {"", {}},
      {":::", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Statements(c.line), c.want) << c.line;
}

TEST(CutComment, CutsAtTheFirstSemicolonOutsideALiteral) {
  EXPECT_EQ(CutComment("a ; b"), "a ");
  EXPECT_EQ(CutComment("\"a;b\" ; c"), "\"a;b\" ");
  EXPECT_EQ(CutComment("; all"), "");
  EXPECT_EQ(CutComment("no comment"), "no comment");
  EXPECT_EQ(CutComment("\"open ; literal"), "\"open ; literal");
}

TEST(IncludeArguments, TermsOrTheLiteralRule) {
  const IncludeConstants constants{"/opt/pb/", "/src/dir/"};
  struct Case {
    const char* argument;
    const char* file;    // as an IncludeFile argument
    const char* folder;  // as an IncludePath argument
    bool anchored;       // for both
  } cases[] = {
      {" \"a.pbi\"", "a.pbi", "a.pbi", false},
      {"\"a.pbi\" ", "a.pbi", "a.pbi", false},
      {" \"My Includes/\"", "My Includes/", "My Includes/", false},
      {" \"sub/\" + \"a.pbi\"", "sub/a.pbi", "sub/a.pbi", false},
      {"\t\"sub/\"\t+\t\"a.pbi\"\t", "sub/a.pbi", "sub/a.pbi", false},
      {" #PB_Compiler_Home + \"Include/\"", "/opt/pb/Include/", "/opt/pb/Include/", true},
      {" #PB_Compiler_FilePath + \"x.pbi\"", "/src/dir/x.pbi", "/src/dir/x.pbi", true},
      {" \"pre/\" + #PB_Compiler_Home", "pre//opt/pb/", "pre//opt/pb/", false},
      {" \"/abs/x.pbi\"", "/abs/x.pbi", "/abs/x.pbi", true},
      {" \"a+b.pbi\"", "a+b.pbi", "a+b.pbi", false},
      {" \"\"", "", "", false},
      // Not terms: the literal rule (quotes removed, ";" cut; names trimmed,
      // folders without "+" and spaces and with the home folder put in).
      {" ", "", "", false},
      {" \"My Inc\" + x", "My Inc + x", "MyIncx", false},
      {" #PB_Compiler_Home+Include/", "#PB_Compiler_Home+Include/", "/opt/pb/Include/", true},
      {" \"a.pbi", "a.pbi", "a.pbi", false},
      {" \"a;b\" + y", "a", "a", false},
      {" #pb_compiler_home + \"x\"", "#pb_compiler_home + x", "#pb_compiler_homex", false},
      {" \"a\" +", "a +", "a", false},
      {" \tname.pbi\t ", "name.pbi", "name.pbi", false},
  };
  for (const Case& c : cases) {
    const IncludeTarget file = IncludeFileName(c.argument, constants);
    EXPECT_EQ(file.Text, c.file) << c.argument;
    const IncludeTarget folder = IncludePathFolder(c.argument, constants);
    EXPECT_EQ(folder.Text, c.folder) << c.argument;
    if (c.file == std::string(c.folder)) {
      EXPECT_EQ(file.Anchored, c.anchored) << c.argument;
    }
    EXPECT_EQ(folder.Anchored, c.anchored) << c.argument;
  }
}

}  // namespace
}  // namespace pbz
