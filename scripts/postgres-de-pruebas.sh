# Se carga con «source» desde los scripts de pruebas: arranca un servidor
# PostgreSQL de usar y tirar en el bucle local, exporta CRONICAS_PG_URI y lo
# para (y borra sus datos) al salir del script.

arrancar_postgres_de_pruebas() {
  local pgbin puerto
  pgbin="$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)"
  datos_pg="$(mktemp -d /tmp/cronicas-pg.XXXXXX)"
  puerto="${CRONICAS_PG_PUERTO:-54329}"
  # Busca un puerto libre a partir del pedido.
  while (exec 3<>"/dev/tcp/127.0.0.1/$puerto") 2>/dev/null; do puerto=$((puerto + 1)); done

  # PostgreSQL no arranca como root: entonces corre como el usuario postgres.
  como_pg=(bash -c)
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres:postgres "$datos_pg"
    como_pg=(su postgres -s /bin/bash -c)
  fi
  chmod 700 "$datos_pg"
  pg_ctl_de_pruebas="$pgbin/pg_ctl"
  trap parar_postgres_de_pruebas EXIT

  "${como_pg[@]}" "'$pgbin/initdb' -D '$datos_pg' -A trust -U postgres -E UTF8 --locale=C.UTF-8 --no-sync" >/dev/null
  "${como_pg[@]}" "'$pgbin/pg_ctl' -D '$datos_pg' -l '$datos_pg/servidor.log' -w -o '-p $puerto -k /tmp -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200' start" >/dev/null
  echo "PostgreSQL de pruebas en 127.0.0.1:$puerto"
  export CRONICAS_PG_URI="postgresql://postgres@127.0.0.1:$puerto/postgres"
}

parar_postgres_de_pruebas() {
  "${como_pg[@]}" "'$pg_ctl_de_pruebas' -D '$datos_pg' -m fast -w stop" >/dev/null 2>&1 || true
  rm -rf "$datos_pg"
}
