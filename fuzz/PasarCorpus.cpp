// El main de los objetivos sin libFuzzer: cada argumento es un fichero o una
// carpeta de entradas, y cada entrada pasa una vez por el objetivo. Un fallo
// aborta; si todo pasa, dice cuántas fueron.

#include "Fuzz.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  // Las rutas, antes de que el objetivo se prepare: puede cambiar de carpeta.
  std::vector<std::filesystem::path> entradas;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path ruta = std::filesystem::absolute(argv[i]);
    if (std::filesystem::is_directory(ruta)) {
      for (const auto& e : std::filesystem::directory_iterator(ruta))
        if (e.is_regular_file()) entradas.push_back(e.path());
    } else {
      entradas.push_back(ruta);
    }
  }
  std::sort(entradas.begin(), entradas.end());
  if (entradas.empty()) {
    std::fprintf(stderr, "No hay entradas que pasar.\n");
    return 1;
  }
  LLVMFuzzerInitialize(&argc, &argv);
  for (const auto& ruta : entradas) {
    std::ifstream f(ruta, std::ios::binary);
    if (!f) {
      std::fprintf(stderr, "No se puede leer %s\n", ruta.c_str());
      return 1;
    }
    const std::string datos((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(datos.data()), datos.size());
  }
  std::printf("%zu entradas sin fallos\n", entradas.size());
  return 0;
}
