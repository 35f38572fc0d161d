#!/usr/bin/env bash
# El temporizador de verdad: una Debian 12 limpia (debootstrap) arranca con
# systemd dentro de systemd-nspawn, con el paquete instalado, el temporizador
# activado para el usuario que hizo «cronicas demo» y su última pasada de
# hace dos días. Con Persistent=true, al arrancar lanza el resumen que se
# perdió; el correo va a un servidor del bucle local del anfitrión. Dos
# arranques: con la cuenta aceptada (correo recibido, código 0 en el diario)
# y rechazada (código 6 y su porqué en el diario).
#
# Hace falta ser root, red hacia los paquetes de Debian y unos minutos; por
# eso no va en la batería. Uso:
#   tests/instalacion/temporizador-en-contenedor.sh CARPETA_DE_COMPILACION [CARPETA_DEL_SISTEMA]
# CARPETA_DEL_SISTEMA (por defecto /tmp/cronicas-contenedor) se crea con
# debootstrap si no existe y se puede volver a usar.
set -euo pipefail
compilacion="$(realpath "$1")"
sistema="${2:-/tmp/cronicas-contenedor}"
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
[ "$(id -u)" = 0 ] || { echo "Hace falta ser root (debootstrap, chroot, systemd-nspawn)." >&2; exit 2; }
for orden in debootstrap systemd-nspawn journalctl sqlite3 openssl; do
  command -v "$orden" >/dev/null || { echo "Falta $orden (paquetes debootstrap, systemd-container, sqlite3, openssl)." >&2; exit 2; }
done
trabajo="$(mktemp -d /tmp/cronicas-temporizador.XXXXXX)"
smtp_pid=""
recoger() {
  [ -n "$smtp_pid" ] && kill "$smtp_pid" 2>/dev/null || true
  rm -rf "$trabajo"
}
trap recoger EXIT
fallos=0
fallo() { echo "FALLO: $*" >&2; fallos=$((fallos + 1)); }

(cd "$compilacion" && cpack -G DEB -B "$trabajo/cpack" >"$trabajo/cpack.log" 2>&1) || { cat "$trabajo/cpack.log" >&2; exit 1; }
deb="$(ls "$trabajo"/cpack/cronicas_*.deb)"

if [ ! -x "$sistema/usr/bin/apt-get" ]; then
  echo "Creando una Debian 12 limpia en $sistema ..."
  debootstrap --variant=minbase --include=systemd,systemd-sysv,dbus,libpam-systemd bookworm "$sistema" \
    http://deb.debian.org/debian >"$trabajo/debootstrap.log" 2>&1 || { tail -20 "$trabajo/debootstrap.log" >&2; exit 1; }
fi
cp "$deb" "$sistema/tmp/"
chroot "$sistema" /bin/bash -c "DEBIAN_FRONTEND=noninteractive apt-get install -y -q /tmp/$(basename "$deb")" \
  >"$trabajo/apt.log" 2>&1 || { tail -20 "$trabajo/apt.log" >&2; exit 1; }
chroot "$sistema" id -u dueno >/dev/null 2>&1 || chroot "$sistema" useradd -m -s /bin/bash dueno
casa="$sistema/home/dueno"
tienda="$casa/.config/velarix"
rm -rf "$tienda"
chroot "$sistema" su dueno -c "cd ~ && QT_QPA_PLATFORM=offscreen cronicas demo --dias 3 --ventas-dia 20" >/dev/null
sqlite3 "$tienda/hosteleria.db" "INSERT INTO relaciones_fijas (indice, datoa, otros) VALUES ('DatosEmail', 'caja.bar@gmail.com', 'clave'); UPDATE valores_fijos SET emailinformes = 'dueno@bar.es';"
openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=localhost -days 1 -addext "subjectAltName=DNS:localhost,IP:127.0.0.1" \
  -keyout "$trabajo/c.key" -out "$trabajo/c.pem" >/dev/null 2>&1
cp "$trabajo/c.pem" "$casa/certificado.pem"
puerto=$((57000 + RANDOM % 3000))
while (exec 3<>"/dev/tcp/127.0.0.1/$puerto") 2>/dev/null; do puerto=$((puerto + 1)); done
printf '\n[correo]\nservidor_gmail=localhost\npuerto_gmail=%s\npuerto_smtps=%s\ncertificados=/home/dueno/certificado.pem\nen_linea=si\n' \
  "$puerto" "$puerto" >>"$tienda/ajustes.ini"

# El temporizador activado como lo deja «systemctl --user enable», el
# gestor del usuario arrancado con el equipo (loginctl enable-linger) y el
# diario guardado en disco para leerlo desde fuera.
mkdir -p "$casa/.config/systemd/user/timers.target.wants" "$casa/.local/share/systemd/timers" \
  "$sistema/var/lib/systemd/linger" "$sistema/var/log/journal"
ln -sfn /usr/lib/systemd/user/cronicas-resumen.timer "$casa/.config/systemd/user/timers.target.wants/cronicas-resumen.timer"
touch "$sistema/var/lib/systemd/linger/dueno"
chroot "$sistema" chown -R dueno:dueno /home/dueno
# El contenedor se apaga cuando el servicio del usuario ha terminado.
cat >"$sistema/etc/systemd/system/apagar-tras-resumen.service" <<'UNIDAD'
[Unit]
Description=Apaga el contenedor tras el resumen
After=multi-user.target
[Service]
Type=oneshot
ExecStart=/bin/sh -c 'for i in $(seq 150); do t=$(systemctl --user -M dueno@ show cronicas-resumen.service -p ExecMainExitTimestampMonotonic --value 2>/dev/null); [ -n "$t" ] && [ "$t" != 0 ] && break; sleep 1; done; systemctl poweroff'
[Install]
WantedBy=multi-user.target
UNIDAD
ln -sfn /etc/systemd/system/apagar-tras-resumen.service \
  "$sistema/etc/systemd/system/multi-user.target.wants/apagar-tras-resumen.service"

arranque() { # clave_del_servidor
  rm -rf "$sistema/var/log/journal/"* "$trabajo/buzon"
  mkdir -p "$trabajo/buzon"
  touch -d '2 days ago' "$casa/.local/share/systemd/timers/stamp-cronicas-resumen.timer"
  chroot "$sistema" chown dueno:dueno /home/dueno/.local/share/systemd/timers/stamp-cronicas-resumen.timer
  /usr/bin/python3 "$raiz/tests/support/servidor_smtp.py" --modo smtps --puerto "$puerto" --carpeta "$trabajo/buzon" \
    --certificado "$trabajo/c.pem" --clave "$trabajo/c.key" --usuario caja.bar@gmail.com --contrasena "$1" \
    >"$trabajo/smtp.log" 2>&1 &
  smtp_pid=$!
  for _ in $(seq 100); do grep -q LISTO "$trabajo/smtp.log" && break; sleep 0.1; done
  timeout 300 systemd-nspawn -q -b -D "$sistema" --register=no --keep-unit >"$trabajo/arranque.log" 2>&1 || true
  kill "$smtp_pid" 2>/dev/null || true
  wait "$smtp_pid" 2>/dev/null || true
  smtp_pid=""
  journalctl -D "$sistema/var/log/journal" --no-pager -o cat _SYSTEMD_USER_UNIT=cronicas-resumen.service \
    + USER_UNIT=cronicas-resumen.service >"$trabajo/diario.log" 2>&1 || true
}

arranque clave
echo "--- diario con el correo aceptado:"; cat "$trabajo/diario.log"
grep -q "Correo enviado a dueno@bar.es" "$trabajo/diario.log" || fallo "el diario no dice «Correo enviado»"
grep -q "Finished cronicas-resumen.service" "$trabajo/diario.log" || fallo "el servicio no acabó bien"
ls "$trabajo"/buzon/*.json >/dev/null 2>&1 || fallo "el servidor de correo no recibió nada"

arranque otra
echo "--- diario con el correo rechazado:"; cat "$trabajo/diario.log"
grep -q "El correo no se pudo enviar" "$trabajo/diario.log" || fallo "el diario no dice por qué no salió el correo"
grep -q "status=6" "$trabajo/diario.log" || fallo "el diario no lleva el código 6"
if ls "$trabajo"/buzon/*.json >/dev/null 2>&1; then fallo "el servidor recibió un correo sin entrar"; fi

echo "El temporizador en una Debian 12 arrancada con systemd: $fallos fallos."
[ "$fallos" = 0 ]
