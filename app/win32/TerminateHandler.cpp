// Tovik.exe has no console on which the runtime could print the name of an
// exception that nothing caught, and the entry point catches everything.
// The runtime's verbose handler, with the name demangler it brings (about
// 45 KB of the executable), is replaced by the plain end it would come to.
#include <cstdlib>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
