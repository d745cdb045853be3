# The Debian packages: `cpack -G DEB` in a build folder gives two, from the same build, that
# replace each other:
#   facturador_<version>_amd64.deb           the program with its windows: the service, the
#                                            operator's console, its desktop entry and icon;
#   facturador-servicio_<version>_amd64.deb  the program built without windows, for servers: the
#                                            service and the orders of the command line, without
#                                            Qt's GUI or widgets and the window system they bring.
# Both carry the systemd unit, manual page and what their maintainer scripts need, and install
# the program as /usr/bin/facturador. Only the program is installed: tests, tools and benchmarks
# have no install rules.

set(EMPAQUETADO ${PROJECT_SOURCE_DIR}/empaquetado)
set(GENERADOS ${CMAKE_BINARY_DIR}/empaquetado)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Files built for the package: the icon drawn by the program's own code at the theme's sizes,
# and the manual page and changelog compressed as Debian wants them (no name, no timestamp).
set(LADOS_ICONO 16 22 32 48 64 128 256)
set(ICONOS ${LADOS_ICONO})
list(TRANSFORM ICONOS REPLACE "(.+)" "${GENERADOS}/iconos/\\1x\\1/apps/facturador.png")
add_custom_command(OUTPUT ${ICONOS}
  COMMAND icono ${GENERADOS}/iconos ${LADOS_ICONO}
  DEPENDS icono VERBATIM)
foreach(archivo empaquetado/facturador.1 empaquetado/changelog README.md)
  get_filename_component(nombre ${archivo} NAME)
  add_custom_command(OUTPUT ${GENERADOS}/${nombre}.gz
    COMMAND sh -c "gzip -9nc \"$1\" >\"$2\"" gzip ${PROJECT_SOURCE_DIR}/${archivo} ${GENERADOS}/${nombre}.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/${archivo} VERBATIM)
endforeach()
add_custom_target(archivos_paquete ALL
  DEPENDS ${ICONOS} ${GENERADOS}/facturador.1.gz ${GENERADOS}/changelog.gz ${GENERADOS}/README.md.gz)

# What both packages hold, each under its own name where Debian wants the package's name.
function(instalar_comun componente paquete)
  install(FILES ${EMPAQUETADO}/facturador.service DESTINATION /lib/systemd/system
          COMPONENT ${componente})
  install(FILES ${GENERADOS}/facturador.1.gz DESTINATION share/man/man1 COMPONENT ${componente})
  install(FILES ${EMPAQUETADO}/copyright ${GENERADOS}/changelog.gz ${GENERADOS}/README.md.gz
          DESTINATION share/doc/${paquete} COMPONENT ${componente})
  # The postinst creates local.dll and Taldo.dll from this SQL when they are absent; the central
  # schema and account are there for a server that lacks them. The account's file holds the
  # built-in password: root's alone.
  install(FILES ${PROJECT_SOURCE_DIR}/sql/local/local.sql ${PROJECT_SOURCE_DIR}/sql/local/taldo.sql
                ${PROJECT_SOURCE_DIR}/sql/01_esquema.sql
          DESTINATION share/facturador COMPONENT ${componente})
  install(FILES ${PROJECT_SOURCE_DIR}/sql/02_cuenta.sql DESTINATION share/facturador
          PERMISSIONS OWNER_READ OWNER_WRITE COMPONENT ${componente})
  install(FILES ${EMPAQUETADO}/lintian-overrides DESTINATION share/lintian/overrides
          RENAME ${paquete} COMPONENT ${componente})
  install(PROGRAMS ${EMPAQUETADO}/crear-archivos-locales DESTINATION share/facturador
          COMPONENT ${componente})
endfunction()

instalar_comun(ventanas facturador)
install(TARGETS facturador RUNTIME DESTINATION bin COMPONENT ventanas)
install(FILES ${EMPAQUETADO}/facturador.desktop DESTINATION share/applications COMPONENT ventanas)
install(DIRECTORY ${GENERADOS}/iconos/ DESTINATION share/icons/hicolor COMPONENT ventanas)
install(PROGRAMS ${EMPAQUETADO}/facturador-consola DESTINATION share/facturador
        COMPONENT ventanas)

instalar_comun(servicio facturador-servicio)
install(TARGETS facturador_sin_ventanas RUNTIME DESTINATION bin COMPONENT servicio)

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ventanas servicio)
set(CPACK_DEBIAN_VENTANAS_PACKAGE_NAME facturador)
set(CPACK_DEBIAN_SERVICIO_PACKAGE_NAME facturador-servicio)
set(CPACK_PACKAGE_NAME facturador)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Equipo de Facturador <facturador@example.com>")
set(DESCRIPCION_COMUN
"Convierte las solicitudes de factura que los clientes de una cadena de
sucursales hacen en línea por sus tickets de venta en archivos para el
programa de timbrado, recoge el XML y el PDF timbrados, los guarda en la base
central MariaDB Morvane_Central de este equipo y registra los montos
facturados.
")
set(CPACK_DEBIAN_VENTANAS_DESCRIPTION
"facturas electrónicas CFDI 4.0 de tickets solicitadas en línea
${DESCRIPCION_COMUN}
Corre como servicio de systemd sin ventanas (facturador.service) o en la
sesión de escritorio del operador, con su icono en el área de notificación.")
set(CPACK_DEBIAN_SERVICIO_DESCRIPTION
"facturas electrónicas CFDI 4.0 de tickets solicitadas en línea (servidores)
${DESCRIPCION_COMUN}
Este paquete es el programa construido sin ventanas, para servidores: el
servicio de systemd (facturador.service) y las órdenes de la línea de
comandos, sin las bibliotecas de ventanas de Qt ni del sistema gráfico. La
consola del operador está en el paquete facturador, que lo reemplaza.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries from dpkg-shlibdeps; besides them the account tools and sqlite3 of the maintainer
# scripts, the time-zone database, and for the windows Qt's Spanish translations, which Qt loads
# at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_SERVICIO_PACKAGE_DEPENDS "adduser, sqlite3, tzdata")
set(CPACK_DEBIAN_VENTANAS_PACKAGE_DEPENDS "adduser, sqlite3, qt6-translations-l10n, tzdata")
# The same files: one package or the other.
set(CPACK_DEBIAN_VENTANAS_PACKAGE_CONFLICTS facturador-servicio)
set(CPACK_DEBIAN_VENTANAS_PACKAGE_REPLACES facturador-servicio)
set(CPACK_DEBIAN_SERVICIO_PACKAGE_CONFLICTS facturador)
set(CPACK_DEBIAN_SERVICIO_PACKAGE_REPLACES facturador)
# The central database is always the one on this machine, but its server may come from elsewhere.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mariadb-server")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${EMPAQUETADO}/postinst ${EMPAQUETADO}/prerm ${EMPAQUETADO}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
