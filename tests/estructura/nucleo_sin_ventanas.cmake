# El núcleo corre sin ventanas (línea de órdenes, pruebas, mediciones): ninguno
# de sus ficheros incluye una cabecera de las ventanas, ni del programa
# (src/reports_ui) ni de Qt (Widgets, PrintSupport, Charts, Data Visualization).
# Uso: cmake -DFICHEROS="a.cpp;b.h" -P nucleo_sin_ventanas.cmake
set(prohibidas
  "reports_ui/"
  "QtWidgets" "QtPrintSupport" "QtCharts" "QtDataVisualization"
  "<QWidget>" "<QDialog>" "<QApplication>" "<QMainWindow>" "<QPrinter>" "<QMessageBox>" "<QAbstractButton>")
set(fallos "")
foreach(fichero IN LISTS FICHEROS)
  file(STRINGS "${fichero}" lineas REGEX "^[ \t]*#[ \t]*include")
  foreach(linea IN LISTS lineas)
    foreach(p IN LISTS prohibidas)
      string(FIND "${linea}" "${p}" donde)
      if(NOT donde EQUAL -1)
        string(APPEND fallos "  ${fichero}: ${linea}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(fallos)
  message(FATAL_ERROR "El núcleo incluye cabeceras de ventanas:\n${fallos}")
endif()
list(LENGTH FICHEROS n)
message(STATUS "${n} ficheros del núcleo, ninguno con ventanas")
