// How the stand-in host stores the value of each kind of result-buffer node, for the code that
// copies, lists and compares them (entity data, filters, tests).
#pragma once

namespace standin {

enum class RbValue { None, Real, Point, Short, Long, Int64, String, Name, Binary };
RbValue ResbufValueKind(int restype);

}  // namespace standin
