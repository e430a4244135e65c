<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="es">
<context>
    <name>ApplicationPicker</name>
    <message>
        <source>Elegir aplicación</source>
        <translation>Choose Application</translation>
    </message>
    <message>
        <source>&amp;Buscar:</source>
        <translation>&amp;Search:</translation>
    </message>
    <message>
        <source>&amp;Aplicaciones:</source>
        <translation>&amp;Applications:</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ClockBox</name>
    <message>
        <source> Opciones </source>
        <translation> Options </translation>
    </message>
    <message>
        <source>Incluir hora</source>
        <translation>Show time</translation>
    </message>
    <message>
        <source>Incluir fecha</source>
        <translation>Show date</translation>
    </message>
    <message>
        <source>Reloj Analógico</source>
        <translation>Analog clock</translation>
    </message>
    <message>
        <source>Segundero</source>
        <translation>Second hand</translation>
    </message>
    <message>
        <source>Formato de la hora</source>
        <translation>Time format</translation>
    </message>
    <message>
        <source>Formato de la fecha</source>
        <translation>Date format</translation>
    </message>
    <message>
        <source>Separador</source>
        <translation>Separator</translation>
    </message>
</context>
<context>
    <name>ConflictCopies</name>
    <message>
        <source>%1 (copia de %2)</source>
        <translation>%1 (a copy of %2)</translation>
    </message>
    <message>
        <source>En la carpeta %1 hay copias en conflicto de ficheros de estanterías, hechas cuando dos equipos cambiaron el mismo fichero (por un servicio de sincronización o por Tolm):

%2

Tolm no las lee. Para ver lo que guarda una, use «tolm-shelf dump FICHERO»; para usarla en lugar del fichero que copia, cierre Tolm y cámbiele el nombre por el de ese fichero.</source>
        <translation>The folder %1 holds conflict copies of shelf files, made when two computers changed the same file (by a sync service or by Tolm):

%2

Tolm does not read them. To see what one holds, use “tolm-shelf dump FILE”; to use it instead of the file it copies, close Tolm and rename it to that file’s name.</translation>
    </message>
</context>
<context>
    <name>DriveBox</name>
    <message>
        <source> Información y Opciones </source>
        <translation> Information and Options </translation>
    </message>
    <message>
        <source>Espacio utilizado:</source>
        <translation>Used space:</translation>
    </message>
    <message>
        <source>Espacio disponible:</source>
        <translation>Free space:</translation>
    </message>
    <message>
        <source>Capacidad:</source>
        <translation>Capacity:</translation>
    </message>
    <message>
        <source>Tipo: Disco duro local (FAT)</source>
        <translation>Type: Local hard disk (FAT)</translation>
    </message>
    <message>
        <source>Unidad:</source>
        <translation>Drive:</translation>
    </message>
    <message>
        <source>Actualizar cada (seg):</source>
        <translation>Refresh every (s):</translation>
    </message>
    <message>
        <source>Desconocido</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>Disco no accesible</source>
        <translation>Drive not accessible</translation>
    </message>
    <message>
        <source>Disco removible</source>
        <translation>Removable disk</translation>
    </message>
    <message>
        <source>Disco fijo</source>
        <translation>Fixed disk</translation>
    </message>
    <message>
        <source>Unidad de red</source>
        <translation>Network drive</translation>
    </message>
    <message>
        <source>CD-ROM</source>
        <translation>CD-ROM</translation>
    </message>
    <message>
        <source>Disco RAM</source>
        <translation>RAM disk</translation>
    </message>
    <message>
        <source>Tipo: </source>
        <translation>Type: </translation>
    </message>
    <message>
        <source>, Comprimido</source>
        <translation>, Compressed</translation>
    </message>
    <message>
        <source>Sin disco</source>
        <translation>No disk</translation>
    </message>
</context>
<context>
    <name>DrivePicture</name>
    <message>
        <source>Sin disco</source>
        <translation>No disk</translation>
    </message>
    <message>
        <source>No accesible</source>
        <translation>Not accessible</translation>
    </message>
    <message>
        <source>, %1 MB libres</source>
        <translation>, %1 MB free</translation>
    </message>
    <message>
        <source>, sin disco</source>
        <translation>, no disk</translation>
    </message>
    <message>
        <source>, no accesible</source>
        <translation>, not accessible</translation>
    </message>
    <message>
        <source>Espacio Libre: %1</source>
        <translation>Free space:  %1</translation>
    </message>
    <message>
        <source>Espacio Total: %1</source>
        <translation>Total space: %1</translation>
    </message>
</context>
<context>
    <name>FolderBox</name>
    <message>
        <source> Varios </source>
        <translation> Miscellaneous </translation>
    </message>
    <message>
        <source>Usar Icono</source>
        <translation>Use icon</translation>
    </message>
    <message>
        <source>Abrir automáticamente</source>
        <translation>Open automatically</translation>
    </message>
</context>
<context>
    <name>FolderKind</name>
    <message>
        <source>Carpeta Nueva</source>
        <translation>New Folder</translation>
    </message>
    <message>
        <source>Carpeta</source>
        <translation>Folder</translation>
    </message>
</context>
<context>
    <name>GeneralPage</name>
    <message>
        <source>Descripción:</source>
        <translation>Description:</translation>
    </message>
</context>
<context>
    <name>HeaderPanel</name>
    <message>
        <source>Nombre del botón (Editable)</source>
        <translation>Button name (editable)</translation>
    </message>
    <message>
        <source>Nombre:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source> Ejemplo </source>
        <translation> Example </translation>
    </message>
    <message>
        <source>Botón con el formato seleccionado</source>
        <translation>The button in the selected format</translation>
    </message>
    <message>
        <source> Formato </source>
        <translation> Format </translation>
    </message>
    <message>
        <source>Seleccion de formato</source>
        <translation>Choose the format</translation>
    </message>
    <message>
        <source>Fuente</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>Defecto</source>
        <translation>Default</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Ayuda de Tolm</source>
        <translation>Tolm Help</translation>
    </message>
    <message>
        <source>manual-es.html</source>
        <extracomment>The manual&apos;s page in this language, one of the HTML files compiled into the program (docs/manual/); manual-en.html until the language has a manual of its own.</extracomment>
        <translation>manual-en.html</translation>
    </message>
</context>
<context>
    <name>IconBox</name>
    <message>
        <source> Icono </source>
        <translation> Icon </translation>
    </message>
    <message>
        <source>Nombre del archivo de icono</source>
        <translation>Name of the icon file</translation>
    </message>
    <message>
        <source>&amp;Nombre del Archivo</source>
        <translation>&amp;File name</translation>
    </message>
    <message>
        <source>Usar Icono</source>
        <translation>Use icon</translation>
    </message>
    <message>
        <source>Icono Asociado</source>
        <translation>Associated icon</translation>
    </message>
    <message>
        <source>E&amp;xaminar...</source>
        <translation>Bro&amp;wse...</translation>
    </message>
</context>
<context>
    <name>ItemCommands</name>
    <message>
        <source>Atención</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Hay una carpeta cortada en el buffer
¿Borrar carpeta?</source>
        <translation>A cut folder is waiting to be pasted.
Delete the folder?</translation>
    </message>
    <message>
        <source>Una carpeta no se puede pegar dentro de sí misma.</source>
        <translation>A folder cannot be pasted inside itself.</translation>
    </message>
    <message>
        <source>No se puede añadir «%1».</source>
        <translation>Cannot add “%1”.</translation>
    </message>
</context>
<context>
    <name>KindPage</name>
    <message>
        <source>Reloj</source>
        <translation>Clock</translation>
    </message>
</context>
<context>
    <name>LinuxDrives</name>
    <message>
        <source>desconocido</source>
        <translation>unknown</translation>
    </message>
</context>
<context>
    <name>MemoryBox</name>
    <message>
        <source> Información y Opciones </source>
        <translation> Information and Options </translation>
    </message>
    <message>
        <source>Actualizar cada (seg):</source>
        <translation>Refresh every (s):</translation>
    </message>
    <message>
        <source>Fichero de paginación</source>
        <translation>Paging file</translation>
    </message>
    <message>
        <source>Espacio utilizado:</source>
        <translation>Used space:</translation>
    </message>
    <message>
        <source>Total:</source>
        <translation>Total:</translation>
    </message>
    <message>
        <source>Memoria física</source>
        <translation>Physical memory</translation>
    </message>
    <message>
        <source>Carga de Memoria</source>
        <translation>Memory load</translation>
    </message>
</context>
<context>
    <name>MemoryPicture</name>
    <message>
        <source>Carga de memoria: %1 %</source>
        <translation>Memory load: %1 %</translation>
    </message>
    <message>
        <source>carga %1 %</source>
        <translation>load %1 %</translation>
    </message>
</context>
<context>
    <name>OpenFailure</name>
    <message>
        <source>No tiene ningún programa ni documento que abrir.</source>
        <translation>It has no program or document to open.</translation>
    </message>
    <message>
        <source>No se encuentra %1.</source>
        <translation>%1 cannot be found.</translation>
    </message>
    <message>
        <source>Su carpeta de inicio, %1, no existe.</source>
        <translation>Its start folder, %1, does not exist.</translation>
    </message>
    <message>
        <source>El programa %1 no está instalado.</source>
        <translation>The program %1 is not installed.</translation>
    </message>
    <message>
        <source>%1 no es una entrada de escritorio que se pueda abrir.</source>
        <translation>%1 is not a desktop entry that can be opened.</translation>
    </message>
    <message>
        <source>Falta xdg-open, que abre documentos y carpetas (paquete xdg-utils).</source>
        <translation>xdg-open, which opens documents and folders, is missing (package xdg-utils).</translation>
    </message>
    <message>
        <source>Ningún programa está asociado a %1.</source>
        <translation>No program is set to open %1.</translation>
    </message>
    <message>
        <source>No se encuentra el terminal %1 en el que debe ejecutarse.</source>
        <translation>The terminal it must run in, %1, cannot be found.</translation>
    </message>
    <message>
        <source>No hay instalado ningún programa de configuración para ello.</source>
        <translation>No settings program for it is installed.</translation>
    </message>
    <message>
        <source>No se pudo iniciar %1.</source>
        <translation>%1 could not be started.</translation>
    </message>
    <message>
        <source>No se puede abrir «%1».</source>
        <translation>Cannot open “%1”.</translation>
    </message>
    <message>
        <source>No se puede leer %1: %2.</source>
        <translation>Cannot read %1: %2.</translation>
    </message>
</context>
<context>
    <name>OutsideFiles</name>
    <message>
        <source>una carpeta</source>
        <translation>a folder</translation>
    </message>
    <message>
        <source>una FIFO</source>
        <translation>a FIFO</translation>
    </message>
    <message>
        <source>un dispositivo</source>
        <translation>a device</translation>
    </message>
    <message>
        <source>un socket</source>
        <translation>a socket</translation>
    </message>
    <message>
        <source>algo que no se lee</source>
        <translation>something that is not read</translation>
    </message>
    <message>
        <source>no es un archivo normal, sino %1</source>
        <translation>it is not a regular file but %1</translation>
    </message>
    <message>
        <source>creció al leerlo por encima de %1 bytes, lo más que se lee</source>
        <translation>it grew while read past %1 bytes, the most that is read</translation>
    </message>
    <message>
        <source>ocupa %1 bytes, y se leen como mucho %2</source>
        <translation>it holds %1 bytes, and at most %2 are read</translation>
    </message>
    <message>
        <source>no se puede abrir (%1)</source>
        <translation>it cannot be opened (%1)</translation>
    </message>
    <message>
        <source>no se puede leer (%1)</source>
        <translation>it cannot be read (%1)</translation>
    </message>
</context>
<context>
    <name>SaveReport</name>
    <message>
        <source>

Lo que contienen las ventanas sigue abierto; Tolm volverá a guardarlo en cuanto se pueda escribir el fichero.</source>
        <translation>

The windows stay open with everything in them; Tolm saves them again as soon as the file can be written.</translation>
    </message>
    <message>
        <source>No se puede guardar el fichero %1: %2</source>
        <translation>Cannot save the file %1: %2</translation>
    </message>
</context>
<context>
    <name>ShelfDocument</name>
    <message>
        <source>El fichero %1 no se pudo cargar y no se ha modificado.
Tampoco se pudo guardar esta ventana en %2: %3</source>
        <translation>The file %1 could not be loaded and has not been changed.
This window could not be saved in %2 either: %3</translation>
    </message>
    <message>
        <source>una carpeta</source>
        <translation>a folder</translation>
    </message>
    <message>
        <source>una tubería con nombre (FIFO)</source>
        <translation>a named pipe (FIFO)</translation>
    </message>
    <message>
        <source>un socket</source>
        <translation>a socket</translation>
    </message>
    <message>
        <source>un dispositivo</source>
        <translation>a device</translation>
    </message>
    <message>
        <source>un fichero que Tolm no puede leer (%1)</source>
        <translation>a file Tolm cannot read (%1)</translation>
    </message>
    <message>
        <source>un enlace simbólico a %1</source>
        <translation>a symbolic link to %1</translation>
    </message>
</context>
<context>
    <name>ShelfKeyboard</name>
    <message>
        <source>La carpeta está cortada; péguela antes de abrirla.</source>
        <translation>The folder has been cut; paste it before opening it.</translation>
    </message>
</context>
<context>
    <name>ShelfSession</name>
    <message>
        <source>

¿Salir de Tolm sin guardar? Con Cancelar, Tolm sigue abierto con todo lo que contiene.</source>
        <translation>

Quit Tolm without saving? Cancel keeps Tolm open with everything in it.</translation>
    </message>
    <message>
        <source>¿Volver a la configuración guardada con «Guardar configuración»?
Se perderán los cambios hechos desde entonces en todas las ventanas.</source>
        <translation>Go back to the settings kept with “Save settings”?
Changes made since then in every window will be lost.</translation>
    </message>
    <message>
        <source>¿Volver a la configuración que tenía Tolm al iniciarse?
Se perderán los cambios hechos desde entonces en todas las ventanas.</source>
        <translation>Go back to the settings Tolm had when it started?
Changes made since then in every window will be lost.</translation>
    </message>
    <message>
        <source>Restaurar configuración</source>
        <translation>Restore settings</translation>
    </message>
    <message>
        <source>No se puede restaurar la configuración: %1
Las ventanas muestran lo que contienen ahora sus ficheros.</source>
        <translation>Cannot restore the settings: %1
The windows show what their files hold now.</translation>
    </message>
    <message>
        <source>%1 es un enlace simbólico, y Tolm no sigue enlaces en la carpeta donde guarda la configuración.</source>
        <translation>%1 is a symbolic link, and Tolm follows no link in the folder where it keeps the settings.</translation>
    </message>
    <message>
        <source>%1 no es una carpeta.</source>
        <translation>%1 is not a folder.</translation>
    </message>
    <message>
        <source>Falta el fichero %1.</source>
        <translation>The file %1 is missing.</translation>
    </message>
    <message>
        <source>El fichero %1 no es un fichero de estanterías.</source>
        <translation>The file %1 is not a shelf file.</translation>
    </message>
    <message>
        <source>El fichero %1 no se puede leer como estantería: %2.</source>
        <translation>The file %1 cannot be read as a shelf: %2.</translation>
    </message>
    <message>
        <source>No se puede escribir %1: %2.</source>
        <translation>Cannot write %1: %2.</translation>
    </message>
    <message>
        <source>No se puede guardar la configuración.

</source>
        <translation>Cannot save the settings.

</translation>
    </message>
    <message>
        <source>

La configuración guardada antes sigue igual; «Restaurar configuración» vuelve a ella.</source>
        <translation>

The settings saved before are unchanged; “Restore settings” returns to them.</translation>
    </message>
    <message>
        <source>No se puede restaurar la configuración.

</source>
        <translation>Cannot restore the settings.

</translation>
    </message>
    <message>
        <source>

No se ha cambiado nada.</source>
        <translation>

Nothing has been changed.</translation>
    </message>
</context>
<context>
    <name>ShortcutPage</name>
    <message>
        <source> Datos del programa </source>
        <translation> Program </translation>
    </message>
    <message>
        <source>Nombre del programa o Archivo</source>
        <translation>Name of the program or file</translation>
    </message>
    <message>
        <source>Parámetros del programa (opcional)</source>
        <translation>Parameters of the program (optional)</translation>
    </message>
    <message>
        <source>Ventana normal</source>
        <translation>Normal window</translation>
    </message>
    <message>
        <source>Minimizada</source>
        <translation>Minimized</translation>
    </message>
    <message>
        <source>Maximizada</source>
        <translation>Maximized</translation>
    </message>
    <message>
        <source>Ejecutar automáticamente</source>
        <translation>Run automatically</translation>
    </message>
    <message>
        <source>Buscar destino ...</source>
        <translation>Find target ...</translation>
    </message>
    <message>
        <source>Icono Asociado</source>
        <translation>Associated icon</translation>
    </message>
    <message>
        <source>E&amp;xaminar...</source>
        <translation>Bro&amp;wse...</translation>
    </message>
    <message>
        <source>&amp;Comando</source>
        <translation>&amp;Command</translation>
    </message>
    <message>
        <source>&amp;Parámetros</source>
        <translation>&amp;Parameters</translation>
    </message>
    <message>
        <source>&amp;Iniciar en</source>
        <translation>&amp;Start in</translation>
    </message>
    <message>
        <source>&amp;Ejecutar</source>
        <translation>R&amp;un</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>Información del programa</source>
        <translation>About Tolm</translation>
    </message>
    <message>
        <source>Versión 1.0 - Febrero 2000</source>
        <translation>Version 1.0 - February 2000</translation>
    </message>
    <message>
        <source>Tolm2000 - home</source>
        <translation>Tolm2000 - home</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>© 2000 Proyecto Tolm</source>
        <translation>© 2000 The Tolm project</translation>
    </message>
    <message>
        <source>Avisos: en esa página</source>
        <translation>Reports: on that page</translation>
    </message>
    <message>
        <source>Más en el &lt;a href=&quot;%1&quot;&gt;manual&lt;/a&gt; (F1) y en la &lt;a href=&quot;%2&quot;&gt;página del proyecto&lt;/a&gt;.</source>
        <translation>More in the &lt;a href=&quot;%1&quot;&gt;manual&lt;/a&gt; (F1) and on the &lt;a href=&quot;%2&quot;&gt;project page&lt;/a&gt;.</translation>
    </message>
</context>
<context>
    <name>TCalendario</name>
    <message>
        <source>Calendario</source>
        <translation>Calendar</translation>
    </message>
    <message>
        <source>Año anterior</source>
        <translation>Previous year</translation>
    </message>
    <message>
        <source>Mes anterior</source>
        <translation>Previous month</translation>
    </message>
    <message>
        <source>Mes siguiente</source>
        <translation>Next month</translation>
    </message>
    <message>
        <source>Año siguiente</source>
        <translation>Next year</translation>
    </message>
    <message>
        <source>Argumento no válido al codificar la fecha</source>
        <translation>Invalid argument to date encode</translation>
    </message>
</context>
<context>
    <name>TPrincipal</name>
    <message>
        <source>Ventana</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>La carpeta «%1» no se puede abrir:
«%2» no es un fichero de carpeta de esta bandeja.</source>
        <translation>The folder “%1” cannot be opened:
“%2” is not a folder file of this shelf.</translation>
    </message>
    <message>
        <source>Opciones</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Marco de ventana</source>
        <translation>Window frame</translation>
    </message>
    <message>
        <source>Siempre botones</source>
        <translation>Always show buttons</translation>
    </message>
    <message>
        <source>Color de fondo</source>
        <translation>Background color</translation>
    </message>
    <message>
        <source>Fuente por defecto</source>
        <translation>Default font</translation>
    </message>
    <message>
        <source>Nuevo</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Botón</source>
        <translation>Button</translation>
    </message>
    <message>
        <source>Carpeta</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Reloj</source>
        <translation>Clock</translation>
    </message>
    <message>
        <source>Memoria</source>
        <translation>Memory</translation>
    </message>
    <message>
        <source>Disco</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>Deshacer</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Pegar</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Guardar configuración</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <source>Restaurar configuración</source>
        <translation>Restore settings</translation>
    </message>
    <message>
        <source>Organizar botones</source>
        <translation>Arrange buttons</translation>
    </message>
    <message>
        <source>Cerrar</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Acerca de ..</source>
        <translation>About ...</translation>
    </message>
    <message>
        <source>&amp;Abrir</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>C&amp;ortar</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>&amp;Copiar</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>E&amp;liminar</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>P&amp;ropiedades</source>
        <translation>P&amp;roperties</translation>
    </message>
    <message>
        <source>&amp;Cerrar</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Fecha y Hora</source>
        <translation>Date and Time</translation>
    </message>
    <message>
        <source>Configuración Regional</source>
        <translation>Regional Settings</translation>
    </message>
    <message>
        <source>E&amp;xplorar</source>
        <translation>E&amp;xplore</translation>
    </message>
    <message>
        <source>No se puede abrir la configuración de fecha y hora.</source>
        <translation>Cannot open the date and time settings.</translation>
    </message>
    <message>
        <source>No se puede abrir la configuración regional.</source>
        <translation>Cannot open the regional settings.</translation>
    </message>
    <message>
        <source>Suelte aquí programas y documentos para tenerlos a mano.
El botón derecho del ratón abre el menú.</source>
        <translation>Drop programs and documents here to keep them at hand.
The right mouse button opens the menu.</translation>
    </message>
    <message>
        <source>Siempre visible</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>En todos los escritorios</source>
        <translation>On all workspaces</translation>
    </message>
    <message>
        <source>Aplicación...</source>
        <translation>Application...</translation>
    </message>
    <message>
        <source>Iniciar con la sesión</source>
        <translation>Start with the session</translation>
    </message>
    <message>
        <source>Ayuda</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>No se sabe dónde está la carpeta de configuración del usuario: ni HOME ni XDG_CONFIG_HOME lo dicen.</source>
        <translation>Where the user's configuration folder is cannot be told: neither HOME nor XDG_CONFIG_HOME says.</translation>
    </message>
    <message>
        <source>No se puede borrar %1.

%2</source>
        <translation>Cannot remove %1.

%2</translation>
    </message>
    <message>
        <source>No se puede escribir %1.

%2</source>
        <translation>Cannot write %1.

%2</translation>
    </message>
    <message>
        <source>La ruta de este programa no se puede escribir en una entrada de inicio automático, que solo admite texto UTF-8.</source>
        <translation>This program's path cannot be written in an autostart entry, which holds UTF-8 text only.</translation>
    </message>
    <message>
        <source>Suelte aquí programas.
Botón derecho: menú.</source>
        <translation>Drop programs here.
Right button: menu.</translation>
    </message>
    <message>
        <source>Botón derecho: menú</source>
        <translation>Right button: menu</translation>
    </message>
    <message>
        <source>No se encuentra el fichero de la carpeta «%1»:
%2

Puede crear una carpeta vacía con ese fichero, o dejar el elemento como está (por ejemplo, para devolver el fichero a su sitio).</source>
        <translation>The file of the folder “%1” is not there:
%2

You can make an empty folder with that file, or leave the item as it is (for instance, to put the file back).</translation>
    </message>
    <message>
        <source>Crear carpeta vacía</source>
        <translation>Make empty folder</translation>
    </message>
    <message>
        <source>Dejar como está</source>
        <translation>Leave as it is</translation>
    </message>
</context>
<context>
    <name>TPropiedades</name>
    <message>
        <source>Propiedades</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Acceso directo</source>
        <translation>Shortcut</translation>
    </message>
    <message>
        <source>Aceptar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Archivos de iconos (*.ico *.exe *.dll *.lnk);;Programas (*.exe);;Bibliotecas (*.dll);;Iconos (*.ico);;Todos los archivos (*)</source>
        <translation>Icon files (*.ico *.exe *.dll *.lnk);;Programs (*.exe);;Libraries (*.dll);;Icons (*.ico);;All files (*)</translation>
    </message>
    <message>
        <source>Seleccionar Icono</source>
        <translation>Choose Icon</translation>
    </message>
    <message>
        <source>Ay&amp;uda</source>
        <translation>&amp;Help</translation>
    </message>
</context>
<context>
    <name>TimerTile</name>
    <message>
        <source>Reloj</source>
        <translation>Clock</translation>
    </message>
    <message>
        <source>Disco</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>Memoria</source>
        <translation>Memory</translation>
    </message>
</context>
<context>
    <name>TolmApplication</name>
    <message>
        <source>Otro Tolm (proceso %1)</source>
        <translation>Another Tolm (process %1)</translation>
    </message>
    <message>
        <source>Otro Tolm</source>
        <translation>Another Tolm</translation>
    </message>
    <message>
        <source>%1 tiene abierta la carpeta %2, pero no responde.

Este Tolm se cierra sin abrirla. Cierre el otro, o espere a que responda, y vuelva a iniciar Tolm.</source>
        <translation>%1 has the folder %2 open, but does not answer.

This Tolm closes without opening it. Close the other one, or wait for it to answer, and start Tolm again.</translation>
    </message>
    <message>
        <source>o inicie Tolm en otra carpeta con --dir CARPETA o --user.</source>
        <translation>or start Tolm in another folder with --dir FOLDER or --user.</translation>
    </message>
    <message>
        <source>en ella hay una carpeta u otra cosa llamada %1 que no es un fichero</source>
        <translation>it holds a folder or something else named %1 that is not a file</translation>
    </message>
    <message>
        <source>Borre o cambie de nombre %1, </source>
        <translation>Delete or rename %1, </translation>
    </message>
    <message>
        <source>no hay permiso para escribir en ella</source>
        <translation>there is no permission to write in it</translation>
    </message>
    <message>
        <source>Dé permiso de escritura en la carpeta, </source>
        <translation>Allow writing in the folder, </translation>
    </message>
    <message>
        <source>está en un disco de solo lectura</source>
        <translation>it is on a read-only disk</translation>
    </message>
    <message>
        <source>Monte el disco con escritura, </source>
        <translation>Mount the disk for writing, </translation>
    </message>
    <message>
        <source>el disco está lleno</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>Libere espacio en el disco, </source>
        <translation>Free some space on the disk, </translation>
    </message>
    <message>
        <source>Haga que se pueda escribir en la carpeta, </source>
        <translation>Make the folder writable, </translation>
    </message>
    <message>
        <source>Tolm no puede bloquear la carpeta %1: %2.</source>
        <translation>Tolm cannot lock the folder %1: %2.</translation>
    </message>
    <message>
        <source>

Tolm abre las estanterías, pero no guardará cambios en esta carpeta. </source>
        <translation>

Tolm opens the shelves, but will not save changes in this folder. </translation>
    </message>
    <message>
        <source>donde va su fichero de bloqueo, %1, hay una carpeta u otra cosa</source>
        <translation>where its lock file goes, %1, there is a folder or something else</translation>
    </message>
</context>
<context>
    <name>WindowDocument</name>
    <message>
        <source>No es un fichero de carpeta: %1</source>
        <translation>Not a folder file: %1</translation>
    </message>
    <message>
        <source>No se puede escribir en la carpeta %1 (%2).
Lo que ponga en Tolm no se podrá guardar aquí. Para guardar las estanterías en otra carpeta, inicie Tolm con la opción --dir CARPETA (o --user, la carpeta del usuario).</source>
        <translation>Cannot write in the folder %1 (%2).
What you put on Tolm cannot be saved here. To keep the shelves in another folder, start Tolm with the option --dir FOLDER (or --user, the user&apos;s own folder).</translation>
    </message>
    <message>
        <source>No se puede crear el fichero %1: %2</source>
        <translation>Cannot create the file %1: %2</translation>
    </message>
    <message>
        <source>No se puede leer el fichero %1: %2</source>
        <translation>Cannot read the file %1: %2</translation>
    </message>
    <message>
        <source>Error caragando datos</source>
        <translation>Error loading data</translation>
    </message>
    <message>
        <source>El fichero %1
no es compatible con esta versión del programa</source>
        <translation>The file %1
is not compatible with this version of the program</translation>
    </message>
    <message>
        <source>El fichero %1
tiene %2 elementos; una ventana admite como mucho %3.
El fichero no se ha modificado.</source>
        <translation>The file %1
has %2 items; a window holds at most %3.
The file has not been changed.</translation>
    </message>
    <message>
        <source>El fichero %1 no se pudo cargar y no se ha modificado.
Lo que contiene esta ventana se guarda en %2;
para usarlo, cambie su nombre a %1.</source>
        <translation>The file %1 could not be loaded and has not been changed.
What this window holds is saved in %2;
to use it, rename it to %1.</translation>
    </message>
    <message>
        <source>El fichero %1 cambió en el disco (lo escribió otro equipo u otro programa) cuando esta ventana tenía cambios sin guardar.

Tolm no lo ha sobrescrito: la ventana muestra ahora %1 tal como está en el disco. Lo que contenía la ventana, sin los cambios que llegaron, se ha guardado en %2.
Puede verlo con «tolm-shelf dump %2» y volver a poner en la ventana lo que falte; si cambia su nombre a %1, se pierden los cambios que llegaron.</source>
        <translation>The file %1 changed on disk (another computer or program wrote it) while this window had unsaved changes.

Tolm has not overwritten it: the window now shows %1 as it is on disk. What the window held, without the changes that arrived, has been saved in %2.
You can look at it with “tolm-shelf dump %2” and put back on the window what is missing; renaming it to %1 would lose the changes that arrived.</translation>
    </message>
    <message>
        <source>El fichero %1 se ha podido cargar de nuevo: la ventana lo muestra tal como está en el disco.
Lo que contenía la ventana antes sigue en %2.</source>
        <translation>The file %1 could be loaded again: the window shows it as it is on disk.
What the window held before is still in %2.</translation>
    </message>
    <message>
        <source>El fichero %1 cambió en el disco y Tolm no lo ha sobrescrito, pero no pudo guardar lo que contiene esta ventana en %2: %3</source>
        <translation>The file %1 changed on disk and Tolm has not overwritten it, but it could not save what this window holds in %2: %3</translation>
    </message>
    <message>
        <source>En el lugar del fichero %1 hay ahora %3: otro programa lo ha cambiado, y Tolm no lo toca.

Lo que contiene esta ventana se ha guardado en %2, y allí se guardará lo que cambie en ella. Cuando %1 vuelva a ser un fichero de Tolm, la ventana lo mostrará.</source>
        <translation>Where the file %1 was there is now %3: another program changed it, and Tolm leaves it alone.

What this window holds has been saved in %2, and what changes on it will be saved there too. When %1 is a Tolm file again, the window will show it.</translation>
    </message>
</context>
</TS>
