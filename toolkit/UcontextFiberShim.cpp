// The sanitizer build switches stacks through ucontext, the back end that tells
// AddressSanitizer about each switch. Debian's compiled Boost.Context carries only the
// assembler back end, so the ucontext back end's one compiled piece is missing from it: the
// record of the context running on each OS thread. It is defined here, and this file is built
// only into the sanitizer tree. The OS thread's own record is never freed, so that a fiber
// destroyed during static destruction still finds it.
#include <boost/context/fiber.hpp>

namespace boost::context::detail {
fiber_activation_record*& fiber_activation_record::current() noexcept {
  thread_local fiber_activation_record* running = new fiber_activation_record();
  return running;
}
}  // namespace boost::context::detail
