#include "base/LumoraError.h"

#include <utility>

namespace lumora {

LumoraError::LumoraError(int number, const std::string& description, std::string source)
    : std::runtime_error(description), m_number(number), m_description(description), m_source(std::move(source)) {}

LumoraError LumoraError::overflow() { return {ErrorNumber::kOverflow, "Overflow"}; }
LumoraError LumoraError::subscriptOutOfRange() { return {ErrorNumber::kSubscript, "Subscript out of range"}; }
LumoraError LumoraError::divisionByZero() { return {ErrorNumber::kDivisionByZero, "Division by zero"}; }

}  // namespace lumora
