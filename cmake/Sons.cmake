# The three game sounds, embedded in the executable.
qt_add_resources(zelpo_janelas "sons" PREFIX "/sons" BASE "${CMAKE_SOURCE_DIR}/resources/sons"
  FILES
    "${CMAKE_SOURCE_DIR}/resources/sons/encaixe.wav"
    "${CMAKE_SOURCE_DIR}/resources/sons/fim1.wav"
    "${CMAKE_SOURCE_DIR}/resources/sons/fim2.wav")
