#!/usr/bin/env bash
# Una cadena en PostgreSQL: cuatro puestos, cada uno con sus ajustes y su
# identificador, sacan a la vez informes de caja de la misma base mientras
# una caja vende. Cada informe debe dar lo mismo que sacado solo y ninguna
# venta de la caja debe faltar.
#   cuatro-puestos.sh CRONICAS SIMULADOR_CAJAS RAIZ_DEL_REPOSITORIO
# Los informes son de días de la demostración, que acaba en enero de 2025, y
# la caja vende hoy, como una caja de verdad: lo que escribe no cae en su
# periodo, así que "lo mismo que solo" es exactamente lo mismo, al céntimo.
set -euo pipefail
cronicas="$1"
simulador="$2"
raiz="$3"

if ! ls -d /usr/lib/postgresql/*/bin >/dev/null 2>&1; then
  [ -n "${CRONICAS_EXIGIR_PG:-}" ] && { echo "No hay PostgreSQL instalado" >&2; exit 1; }
  exit 77
fi

trabajo="$(mktemp -d /tmp/cronicas-cadena.XXXXXX)"
caja_pid=""
# shellcheck source=scripts/postgres-de-pruebas.sh
source "$raiz/scripts/postgres-de-pruebas.sh"
# Un puerto propio: otras pruebas arrancan el suyo a la vez.
CRONICAS_PG_PUERTO=$((56000 + RANDOM % 3000)) arrancar_postgres_de_pruebas >/dev/null
recoger() {
  [ -n "$caja_pid" ] && kill "$caja_pid" 2>/dev/null || true
  parar_postgres_de_pruebas
  rm -rf "$trabajo"
}
trap recoger EXIT
servidor="${CRONICAS_PG_URI%/postgres}"
fallos=0
fallo() { echo "FALLO: $*" >&2; fallos=$((fallos + 1)); }

# La tienda en el servidor, con el ejercicio 2024 cerrado en cadena_2024.
"$cronicas" demo --postgresql "$servidor/cadena" --destino "$trabajo/central" \
  --dias 40 --ventas-dia 40 --hoy 2025-01-20 >/dev/null
bases="$(psql "$servidor/postgres" -Atc "SELECT string_agg(datname, ',' ORDER BY datname) FROM pg_database WHERE datname LIKE 'cadena%'")"
[ "$bases" = "cadena,cadena_2024" ] || fallo "bases en el servidor: $bases"
facturas_antes="$(psql "$servidor/cadena" -Atc "SELECT count(*) FROM cabecera_factura")"

# Una segunda demostración no pisa la que hay: se niega y no toca nada.
if "$cronicas" demo --postgresql "$servidor/cadena" --destino "$trabajo/otra" --dias 5 >/dev/null 2>"$trabajo/err"; then
  fallo "la segunda demostración sobrescribió la tienda"
fi
grep -q "ya hay una tienda" "$trabajo/err" || fallo "mensaje de la segunda demostración: $(cat "$trabajo/err")"
[ "$(psql "$servidor/cadena" -Atc "SELECT count(*) FROM cabecera_factura")" = "$facturas_antes" ] ||
  fallo "la segunda demostración cambió la base"

# Cuatro puestos: la carpeta de la central copiada, con otro identificador y
# sin correo (el resumen diario se manda si hay conexión).
informe=(
  "cmdCierreCaja --empleado 1 --desde 2025-01-01 --hasta 2025-01-19"
  "cmdVentasXFPago --desde 2025-01-01 --hasta 2025-01-19"
  "cmdCierreResumido --desde 2025-01-01 --hasta 2025-01-19"
  "cmdResumenVentasXEmpleado --desde 2024-12-11 --hasta 2024-12-31"
)
for i in 1 2 3 4; do
  mkdir -p "$trabajo/puesto$i"
  cp "$trabajo/central/informes.db" "$trabajo/puesto$i/"
  sed "s/^identificador=.*/identificador=3000000$i/" "$trabajo/central/ajustes.ini" >"$trabajo/puesto$i/ajustes.ini"
  printf '\n[correo]\nen_linea=no\n' >>"$trabajo/puesto$i/ajustes.ini"
done
grep -q "^hosteleria=postgresql://postgres@127.0.0.1:[0-9]*/cadena$" "$trabajo/puesto1/ajustes.ini" ||
  fallo "los ajustes no apuntan al servidor: $(grep hosteleria= "$trabajo/puesto1/ajustes.ini")"

# Las cifras de un informe: cuántas filas dejó en Informes y las cifras de
# control de su pie («Facturas:», «Importe cobrado:», «Impuestos:»...).
sacar() { # puesto salida
  local i="$1" salida="$2"
  # shellcheck disable=SC2086
  "$cronicas" --ajustes "$trabajo/puesto$i/ajustes.ini" informe ${informe[$((i - 1))]} \
    --csv "$salida.csv" --pdf "$salida.pdf" >/dev/null 2>"$salida.err"
}
cifras() {
  echo "filas $(($(wc -l <"$1.csv") - 1))"
  pdftotext -layout "$1.pdf" - | grep -E "Facturas:|Importe cobrado:|Impuestos:|Total" | tr -s ' ' || true
}

# Cada puesto solo, dos veces: la primera vez que un informe pasa por una
# factura con el impuesto vacío lo repara a 0 en la base, y la segunda debe
# dar lo mismo que la primera.
for i in 1 2 3 4; do
  sacar "$i" "$trabajo/primera$i" || fallo "puesto $i, la primera vez: $(cat "$trabajo/primera$i.err")"
  sacar "$i" "$trabajo/solo$i" || fallo "puesto $i solo: $(cat "$trabajo/solo$i.err")"
  cifras "$trabajo/solo$i" >"$trabajo/solo$i.cifras"
  [ "$(wc -l <"$trabajo/solo$i.cifras")" -ge 2 ] || fallo "puesto $i: su informe no tiene cifras"
  cifras "$trabajo/primera$i" | diff "$trabajo/solo$i.cifras" - >/dev/null ||
    fallo "puesto $i: la primera vez dio otras cifras: $(cifras "$trabajo/primera$i" | diff "$trabajo/solo$i.cifras" -)"
done
# El informe de diciembre de 2024 sale del archivo del ejercicio: sin el año
# en la base en vivo, da lo mismo.
psql "$servidor/cadena" -qc "DELETE FROM cabecera_factura WHERE fechaventa < '2025-01-01'"

# La caja vende seis segundos; mientras, cada puesto saca su informe tres veces.
"$simulador" --caja "$servidor/cadena" --numero 900000000 --segundos 6 --resultado "$trabajo/caja.json" &
caja_pid=$!
puestos=()
for i in 1 2 3 4; do
  (for vuelta in 1 2 3; do
    sacar "$i" "$trabajo/a-la-vez$i-$vuelta" || echo "vuelta $vuelta: $(cat "$trabajo/a-la-vez$i-$vuelta.err")"
  done) >"$trabajo/puesto$i.fallos" &
  puestos+=($!)
done
wait "${puestos[@]}"
wait "$caja_pid" || fallo "la caja terminó con error"
caja_pid=""

for i in 1 2 3 4; do
  if [ -s "$trabajo/puesto$i.fallos" ]; then fallo "puesto $i a la vez: $(cat "$trabajo/puesto$i.fallos")"; fi
  for vuelta in 1 2 3; do
    [ -f "$trabajo/a-la-vez$i-$vuelta.csv" ] || continue
    cifras "$trabajo/a-la-vez$i-$vuelta" | diff "$trabajo/solo$i.cifras" - >/dev/null ||
      fallo "puesto $i, vuelta $vuelta: cifras distintas de las de solo: $(cifras "$trabajo/a-la-vez$i-$vuelta" | diff "$trabajo/solo$i.cifras" -)"
  done
done

# Ninguna venta perdida: las que la caja dice que escribió, en la base y en
# el resumen de hoy que saca un puesto (desde ayer, por si la caja vendió a
# medianoche; la demostración es de hace años).
read -r escritas errores < <(/usr/bin/python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); print(len(d["ventas"]), len(d["errores"]))' "$trabajo/caja.json")
[ "$errores" = 0 ] || fallo "la caja tuvo $errores errores"
[ "$escritas" -gt 5 ] || fallo "la caja sólo escribió $escritas ventas"
en_base="$(psql "$servidor/cadena" -Atc "SELECT count(*) FROM cabecera_factura WHERE numero >= 900000000")"
[ "$en_base" = "$escritas" ] || fallo "la caja escribió $escritas ventas y en la base hay $en_base"
"$cronicas" --ajustes "$trabajo/puesto3/ajustes.ini" informe cmdCierreResumido --desde ayer --hasta hoy \
  --pdf "$trabajo/hoy.pdf" >/dev/null 2>&1 || fallo "el resumen de hoy no salió"
hoy="$(pdftotext -layout "$trabajo/hoy.pdf" - | grep -o "Facturas: *[0-9.]*" | head -1 | tr -dc '0-9')"
[ "$hoy" = "$escritas" ] || fallo "el resumen de hoy cuenta $hoy facturas y la caja escribió $escritas"

for i in 1 2 3 4; do echo "Puesto $i (${informe[$((i - 1))]%% *}): $(grep -E "^filas|^ ?Facturas:|^ ?Importe cobrado:" "$trabajo/solo$i.cifras" | tr -s '\n ' ' ')"; done
echo "Cuatro puestos a la vez con una caja vendiendo: $escritas ventas escritas y en la base; $fallos fallos."
[ "$fallos" = 0 ]
