#pragma once
// Running a block that may throw, on behalf of an object.
//
// tryBlock runs the block. When it throws a std::exception (or a subclass),
// the exception stops here: the catch block, when given, is called, and one
// line "tryBlock <receiver> <exception> <call stack>" is logged. Anything else
// thrown passes through unchanged. Nothing the block changed is rolled back.

#include <QString>
#include <functional>
#include <typeinfo>

namespace tryblock_detail {
QString describeReceiver(const std::type_info& type, const void* receiver);
bool run(const QString& receiver, const std::function<void()>& block,
         const std::function<void()>& onCatch);
}  // namespace tryblock_detail

// Answers true when the block ran to its end, false when an exception was
// caught.
template <typename T>
bool tryBlock(const T* receiver, const std::function<void()>& block,
              const std::function<void()>& onCatch = nullptr)
{
    return tryblock_detail::run(tryblock_detail::describeReceiver(typeid(T), receiver), block,
                                onCatch);
}
