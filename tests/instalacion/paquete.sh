#!/usr/bin/env bash
# El paquete de Debian, sin instalarlo: cpack lo hace desde esta compilación
# y se mira lo que lleva y lo que declara; el programa de dentro del paquete,
# fuera de la carpeta de compilación, crea una tienda y saca un informe.
#   paquete.sh CARPETA_DE_COMPILACION RAIZ_DEL_REPOSITORIO
set -euo pipefail
compilacion="$1"
raiz="$2"
trabajo="$(mktemp -d /tmp/cronicas-paquete.XXXXXX)"
trap 'rm -rf "$trabajo"' EXIT
fallos=0
fallo() { echo "FALLO: $*" >&2; fallos=$((fallos + 1)); }

(cd "$compilacion" && cpack -G DEB -B "$trabajo/cpack" >"$trabajo/cpack.log" 2>&1) || {
  cat "$trabajo/cpack.log" >&2
  exit 1
}
version="$("$compilacion/cronicas" --version | grep -o '[0-9][0-9.]*' | head -1)"
deb="$trabajo/cpack/cronicas_${version}_amd64.deb"
[ -f "$deb" ] || { echo "FALLO: no está $deb: $(ls "$trabajo/cpack")" >&2; exit 1; }

# Lo que declara: el nombre, la versión del programa y las dependencias, las
# de las bibliotecas enlazadas y las que Qt carga al vuelo.
[ "$(dpkg-deb -f "$deb" Package)" = cronicas ] || fallo "nombre del paquete"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fallo "versión del paquete $(dpkg-deb -f "$deb" Version), programa $version"
depende="$(dpkg-deb -f "$deb" Depends)"
for d in libqt6core6 libqt6widgets6 libqt6charts6 libcurl4 libxlsxwriter libzint libsqlite3-0 \
  libqt6sql6-sqlite libqt6sql6-psql qt6-translations-l10n fonts-dejavu-core; do
  [[ "$depende" == *"$d"* ]] || fallo "falta la dependencia $d en: $depende"
done

# Lo que lleva: cada plantilla y cada esquema del repositorio, el programa,
# la entrada del menú, el icono y las dos unidades de systemd.
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$trabajo/contenido"
esperados=(/usr/bin/cronicas /usr/share/applications/cronicas.desktop
  /usr/share/icons/hicolor/scalable/apps/cronicas.svg /usr/share/icons/hicolor/48x48/apps/cronicas.png
  /usr/share/icons/hicolor/128x128/apps/cronicas.png
  /usr/lib/systemd/user/cronicas-resumen.service /usr/lib/systemd/user/cronicas-resumen.timer)
for f in "$raiz"/templates/*.xml; do esperados+=("/usr/share/cronicas/plantillas/$(basename "$f")"); done
for f in "$raiz"/schema/*/*.sql; do esperados+=("/usr/share/cronicas/esquemas/${f#"$raiz/schema/"}"); done
for f in "${esperados[@]}"; do grep -qx "$f" "$trabajo/contenido" || fallo "el paquete no lleva $f"; done
if grep -v -e '^/usr/' -e '^/$' "$trabajo/contenido" | grep .; then fallo "el paquete instala fuera de /usr"; fi

dpkg-deb -x "$deb" "$trabajo/raiz"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$trabajo/raiz/usr/share/applications/cronicas.desktop" || fallo "cronicas.desktop no es válido"
fi
if command -v systemd-analyze >/dev/null; then
  # Sin gestor de usuario (un contenedor) se comprueban igual, sin cargarlas.
  unidades="$trabajo/raiz/usr/lib/systemd/user"
  systemd-analyze verify --man=no "$unidades/cronicas-resumen.timer" >"$trabajo/verify" 2>&1 ||
    fallo "systemd-analyze verify del temporizador: $(cat "$trabajo/verify")"
  # systemd busca «cronicas» en /usr/bin, donde aún no está instalado: eso,
  # y sólo eso, se le perdona al servicio.
  systemd-analyze verify --man=no "$unidades/cronicas-resumen.service" 2>&1 |
    grep -v "Command cronicas is not executable" >"$trabajo/verify" || true
  if [ -s "$trabajo/verify" ]; then fallo "systemd-analyze verify del servicio: $(cat "$trabajo/verify")"; fi
fi
# Ninguna ruta de la máquina donde se compiló en el programa.
if grep -q -a -F "$(realpath "$compilacion")" "$trabajo/raiz/usr/bin/cronicas"; then fallo "el programa lleva la ruta de compilación"; fi

# El programa del paquete, en otra carpeta: --help en español, y una tienda
# con su informe en PDF.
export HOME="$trabajo/casa" XDG_CONFIG_HOME="$trabajo/casa/.config" QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
[[ "$("$trabajo/raiz/usr/bin/cronicas" --help)" == "Uso: cronicas "* ]] || fallo "--help"
(cd "$HOME" && "$trabajo/raiz/usr/bin/cronicas" demo --dias 3 --ventas-dia 5 >/dev/null &&
  "$trabajo/raiz/usr/bin/cronicas" informe cmdProductos --pdf p.pdf 2>/dev/null) || fallo "demo e informe desde el paquete"
[[ "$(pdftotext "$HOME/p.pdf" - 2>/dev/null)" == *"Listado de Productos"* ]] || fallo "el PDF del listado de productos"

echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) kB, $(wc -l <"$trabajo/contenido") entradas; $fallos fallos."
[ "$fallos" = 0 ]
