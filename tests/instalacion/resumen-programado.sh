#!/usr/bin/env bash
# El resumen de la mañana tal como lo lanza systemd: la línea ExecStart de
# cronicas-resumen.service, leída del fichero, con los ajustes por defecto de
# un usuario cuya tienda hizo «cronicas demo», contra un servidor de correo
# del bucle local. Lo que ve el diario es la salida de errores y el código:
# el correo enviado (0), el correo rechazado (6) y la base ocupada por otro
# programa (2), cada uno con su mensaje.
#   resumen-programado.sh CRONICAS RAIZ_DEL_REPOSITORIO
set -euo pipefail
cronicas="$1"
raiz="$2"
if ! /usr/bin/python3 -c "import aiosmtpd" 2>/dev/null; then
  echo "/usr/bin/python3 no tiene aiosmtpd (paquete python3-aiosmtpd)"
  exit 77
fi
trabajo="$(mktemp -d /tmp/cronicas-resumen.XXXXXX)"
smtp_pid=""
cerrojo_pid=""
recoger() {
  [ -n "$smtp_pid" ] && kill "$smtp_pid" 2>/dev/null || true
  [ -n "$cerrojo_pid" ] && kill "$cerrojo_pid" 2>/dev/null || true
  rm -rf "$trabajo"
}
trap recoger EXIT
fallos=0
fallo() { echo "FALLO: $*" >&2; fallos=$((fallos + 1)); }

export HOME="$trabajo/casa" XDG_CONFIG_HOME="$trabajo/casa/.config"
unset QT_QPA_PLATFORM  # systemd no la pone: el programa se las arregla sin pantalla
mkdir -p "$HOME"
"$cronicas" demo --dias 3 --ventas-dia 20 >/dev/null
tienda="$XDG_CONFIG_HOME/velarix"
ajustes="$tienda/ajustes.ini"
sqlite3 "$tienda/hosteleria.db" "INSERT INTO relaciones_fijas (indice, datoa, otros) VALUES ('DatosEmail', 'caja.bar@gmail.com', 'clave'); UPDATE valores_fijos SET emailinformes = 'dueno@bar.es';"

openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=localhost -days 1 -addext "subjectAltName=DNS:localhost,IP:127.0.0.1" \
  -keyout "$trabajo/c.key" -out "$trabajo/c.pem" >/dev/null 2>&1
puerto=$((57000 + RANDOM % 3000))
while (exec 3<>"/dev/tcp/127.0.0.1/$puerto") 2>/dev/null; do puerto=$((puerto + 1)); done
# La clave de la cuenta la decide el servidor: con otra, rechaza la entrada.
arrancar_smtp() {
  mkdir -p "$trabajo/buzon-$1"
  /usr/bin/python3 "$raiz/tests/support/servidor_smtp.py" --modo smtps --puerto "$puerto" --carpeta "$trabajo/buzon-$1" \
    --certificado "$trabajo/c.pem" --clave "$trabajo/c.key" --usuario caja.bar@gmail.com --contrasena "$1" \
    >"$trabajo/smtp.log" 2>&1 &
  smtp_pid=$!
  for _ in $(seq 100); do grep -q LISTO "$trabajo/smtp.log" && return 0; sleep 0.1; done
  echo "El servidor de correo no arrancó: $(cat "$trabajo/smtp.log")" >&2
  exit 1
}
parar_smtp() { kill "$smtp_pid"; wait "$smtp_pid" 2>/dev/null || true; smtp_pid=""; }
printf '\n[correo]\nservidor_gmail=localhost\npuerto_gmail=%s\npuerto_smtps=%s\ncertificados=%s\nen_linea=si\n' \
  "$puerto" "$puerto" "$trabajo/c.pem" >>"$ajustes"

# La orden de la unidad, palabra a palabra como la parte systemd, con el
# programa de esta compilación delante en el camino de búsqueda.
linea="$(sed -n 's/^ExecStart=//p' "$raiz/empaquetado/cronicas-resumen.service")"
read -ra orden <<<"$linea"
[ "${orden[0]}" = cronicas ] || fallo "la unidad no lanza cronicas: $linea"
servicio() { # nombre
  local codigo=0
  (cd "$HOME" && PATH="$(dirname "$cronicas"):$PATH" "${orden[@]}") >"$trabajo/$1.out" 2>"$trabajo/$1.err" || codigo=$?
  echo "$codigo"
}

arrancar_smtp clave
codigo="$(servicio enviado)"
[ "$codigo" = 0 ] || fallo "con el correo aceptado salió $codigo: $(cat "$trabajo/enviado.err")"
grep -q "Correo enviado a dueno@bar.es" "$trabajo/enviado.err" || fallo "sin «Correo enviado»: $(cat "$trabajo/enviado.err")"
recibidos=("$trabajo"/buzon-clave/*.json)
[ "${#recibidos[@]}" = 1 ] && [ -f "${recibidos[0]}" ] || fallo "el servidor recibió ${#recibidos[@]} correos"
/usr/bin/python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); a=d["adjuntos"]; sys.exit(0 if len(a)==1 and a[0]["nombre"]=="resumen.xlsx" else 1)' \
  "${recibidos[0]}" 2>/dev/null || fallo "el correo no lleva resumen.xlsx"
parar_smtp

arrancar_smtp otra
codigo="$(servicio rechazado)"
[ "$codigo" = 6 ] || fallo "con el correo rechazado salió $codigo: $(cat "$trabajo/rechazado.err")"
grep -q "El correo no se pudo enviar" "$trabajo/rechazado.err" || fallo "sin el porqué del rechazo: $(cat "$trabajo/rechazado.err")"
if ls "$trabajo"/buzon-otra/*.json >/dev/null 2>&1; then fallo "el servidor recibió un correo sin entrar"; fi
parar_smtp

# Otro programa con la base bloqueada (una copia de seguridad, un cierre).
mkfifo "$trabajo/cerrojo"
sqlite3 "$tienda/hosteleria.db" <"$trabajo/cerrojo" >/dev/null 2>&1 &
cerrojo_pid=$!
exec 4>"$trabajo/cerrojo"
echo "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; UPDATE opciones SET nombre = nombre;" >&4
sleep 0.5
codigo="$(servicio ocupada)"
exec 4>&-
wait "$cerrojo_pid" 2>/dev/null || true
cerrojo_pid=""
[ "$codigo" = 2 ] || fallo "con la base bloqueada salió $codigo: $(cat "$trabajo/ocupada.err")"
grep -q "está ocupada" "$trabajo/ocupada.err" || fallo "sin «está ocupada»: $(cat "$trabajo/ocupada.err")"

# Lo que quedaría en el diario de cada caso.
for caso in enviado rechazado ocupada; do echo "$caso: $(tr '\n' ' ' <"$trabajo/$caso.err")"; done
echo "El resumen programado: enviado (0), rechazado (6) y con la base ocupada (2); $fallos fallos."
[ "$fallos" = 0 ]
