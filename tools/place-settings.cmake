# Copies the default settings file into DEST_DIR unless a Scribo*.inf is already there.
file(GLOB existing "${DEST_DIR}/[Ss][Cc][Rr][Ii][Bb][Oo]*.[Ii][Nn][Ff]")
if(NOT existing)
    file(COPY "${SOURCE}" DESTINATION "${DEST_DIR}")
endif()
