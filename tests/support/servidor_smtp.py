"""Servidor SMTP de las pruebas del correo, en 127.0.0.1.

Modos: "plano" (sin cifrar y sin entrada), "starttls" (STARTTLS obligatorio y
usuario y contraseña) y "smtps" (TLS desde el saludo y usuario y contraseña).
Cada correo recibido se deja en la carpeta como un JSON con lo que las
pruebas comprueban, ya descodificado por el módulo email de Python, que es un
lector de MIME que no es el nuestro.
"""

import argparse
import base64
import email
import email.policy
import json
import os
import signal
import ssl
import threading

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult


class Buzon:
    def __init__(self, carpeta):
        self.carpeta = carpeta
        self.recibidos = 0
        self.cerrojo = threading.Lock()

    async def handle_DATA(self, server, session, envelope):
        mensaje = email.message_from_bytes(envelope.content, policy=email.policy.default)
        cuerpo = None
        adjuntos = []
        for parte in mensaje.walk():
            if parte.is_multipart():
                continue
            if parte.get_content_disposition() == "attachment":
                adjuntos.append({
                    "nombre": parte.get_filename(),
                    "tipo": parte.get_content_type(),
                    "codificacion": parte.get("Content-Transfer-Encoding", ""),
                    "datos": base64.b64encode(parte.get_payload(decode=True)).decode("ascii"),
                })
            elif parte.get_content_type() == "text/plain" and cuerpo is None:
                # En SMTP las líneas acaban en CRLF; el lector las deja tal cual.
                cuerpo = parte.get_content().replace("\r\n", "\n")
        fecha = mensaje["Date"]
        usuario = None
        if session.authenticated and session.auth_data is not None:
            usuario = session.auth_data.login.decode("utf-8")
        datos = {
            "remitente": envelope.mail_from,
            "destinatarios": envelope.rcpt_tos,
            "de": str(mensaje["From"]),
            "para": str(mensaje["To"]),
            "asunto": str(mensaje["Subject"]),
            # Lo que viaja tiene que ser ASCII: libcurl no codifica nada por su cuenta.
            "siete_bits": max(envelope.content, default=0) < 128,
            "fecha": fecha.datetime.isoformat() if fecha is not None and fecha.datetime else None,
            "id_mensaje": mensaje["Message-ID"],
            "cuerpo": cuerpo,
            "adjuntos": adjuntos,
            "tls": server.transport.get_extra_info("ssl_object") is not None,
            "usuario": usuario,
        }
        with self.cerrojo:
            self.recibidos += 1
            nombre = os.path.join(self.carpeta, "%03d.json" % self.recibidos)
        # El original, para mirarlo a mano cuando una prueba falla.
        with open(nombre[:-5] + ".eml", "wb") as f:
            f.write(envelope.original_content or envelope.content)
        with open(nombre + ".tmp", "w", encoding="utf-8") as f:
            json.dump(datos, f, ensure_ascii=False)
        os.replace(nombre + ".tmp", nombre)
        return "250 Recibido"


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--modo", choices=["plano", "starttls", "smtps"], required=True)
    p.add_argument("--puerto", type=int, required=True)
    p.add_argument("--carpeta", required=True)
    p.add_argument("--certificado")
    p.add_argument("--clave")
    p.add_argument("--usuario", default="")
    p.add_argument("--contrasena", default="")
    a = p.parse_args()

    def autenticar(server, session, envelope, mecanismo, datos):
        bien = (datos.login.decode("utf-8") == a.usuario and datos.password.decode("utf-8") == a.contrasena)
        # handled=False: aiosmtpd contesta él mismo 235 o 535; con True espera
        # que la respuesta la mande el autenticador y el cliente se queda colgado.
        return AuthResult(success=bien, handled=False, auth_data=datos)

    opciones = {}
    if a.modo != "plano":
        contexto = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        contexto.load_cert_chain(a.certificado, a.clave)
        opciones.update(authenticator=autenticar, auth_required=True)
        if a.modo == "starttls":
            opciones.update(tls_context=contexto, require_starttls=True)
        else:
            # En SMTPS la conexión ya va cifrada, pero aiosmtpd sólo reconoce
            # como cifrada la que ha pasado por STARTTLS.
            opciones.update(ssl_context=contexto, auth_require_tls=False)
    else:
        opciones.update(auth_require_tls=False)

    controlador = Controller(Buzon(a.carpeta), hostname="127.0.0.1", port=a.puerto, **opciones)
    controlador.start()
    print("LISTO", flush=True)
    parar = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: parar.set())
    signal.signal(signal.SIGINT, lambda *_: parar.set())
    parar.wait()
    controlador.stop()


if __name__ == "__main__":
    main()
