# The skin pictures, drawn at build time by tools/skinart and embedded under their
# resource names.
set(skinart_folder ${CMAKE_BINARY_DIR}/generated/skin)

set(skinart_names)
foreach(language 1 2 3)
  list(APPEND skinart_names L${language}_BackGround)
  foreach(page 1 2 3 4 5)
    list(APPEND skinart_names L${language}_Back${page})
  endforeach()
endforeach()
foreach(family BtnS ExitS MiniS SetS KeyS WebS MacroS MacroBtnS)
  list(APPEND skinart_names ${family}_01 ${family}_02 ${family}_03)
endforeach()
foreach(family CbS RdS Bar1 Bar2)
  list(APPEND skinart_names ${family}_D ${family}_E)
endforeach()
foreach(preset 1 2 3 4 5 6 7)
  list(APPEND skinart_names Gun${preset}_01 Gun${preset}_02)
endforeach()
foreach(mode 1 2 3 4 5)
  list(APPEND skinart_names GunMode${mode})
endforeach()
list(APPEND skinart_names Col_F Update InsertDelayBase InsertKeyBase InsertXYBase Msg)
# The program's icon in the sizes the desktop asks for; the install puts the same files
# into the icon theme.
set(VTRM408X_ICON_SIZES 16 24 32 48 64 128 256 CACHE INTERNAL "")
foreach(size IN LISTS VTRM408X_ICON_SIZES)
  list(APPEND skinart_names AppIcon_${size})
endforeach()

set(skinart_files)
foreach(name IN LISTS skinart_names)
  list(APPEND skinart_files ${skinart_folder}/${name}.png)
endforeach()

add_custom_command(
  OUTPUT ${skinart_files}
  COMMAND vtrm_skinart ${skinart_folder} ${skinart_names}
  DEPENDS vtrm_skinart
  COMMENT "Drawing the skin pictures"
  VERBATIM)

foreach(name IN LISTS skinart_names)
  vtrm_add_resource(NAME ${name} FILE ${skinart_folder}/${name}.png DEPENDS vtrm_skinart)
endforeach()
