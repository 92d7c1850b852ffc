#include "test_classes.h"

namespace orbeta::test {

std::vector<std::pair<std::string, TestClassMaker>>& TestClasses() {
    static std::vector<std::pair<std::string, TestClassMaker>> classes;
    return classes;
}

}  // namespace orbeta::test
