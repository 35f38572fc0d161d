#pragma once
// Lo que comparten los objetivos de fuzzing.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamano);

namespace fuzz {

// Una propiedad que no se cumple es un fallo tan real como un acceso fuera
// de límites: se dice cuál y se aborta, para que libFuzzer guarde la entrada.
[[noreturn]] inline void Incumplido(const char* que, const char* fichero, int linea) {
  std::fprintf(stderr, "%s:%d: no se cumple: %s\n", fichero, linea, que);
  std::abort();
}

}  // namespace fuzz

#define FUZZ_EXIGIR(c)                                  \
  do {                                                  \
    if (!(c)) fuzz::Incumplido(#c, __FILE__, __LINE__); \
  } while (false)
