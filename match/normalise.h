// Preparing a line for the call test.
#pragma once

#include <string>
#include <string_view>

namespace pbz {

// Indentation removed, the trailing comment cut (outside parentheses and
// strings), and every " (" after the first exact-case "Name " closed up.
std::string NormaliseCallLine(std::string_view line, std::string_view callTerm);

// The call term of a procedure text: the text before its first "(", then
// "(", with every space removed ("Foo (a, b)" gives "Foo(").
std::string CallTermOf(std::string_view procedureText);

}  // namespace pbz
