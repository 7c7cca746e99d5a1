# The three game sounds, embedded in the executable, and the libraries of the sound
# output: PulseAudio's client library (PipeWire's server speaks its protocol too) and
# ALSA for a machine without a sound server.
qt_add_resources(zelpo_windows "sons" PREFIX "/sons" BASE "${CMAKE_SOURCE_DIR}/resources/sons"
  FILES
    "${CMAKE_SOURCE_DIR}/resources/sons/encaixe.wav"
    "${CMAKE_SOURCE_DIR}/resources/sons/fim1.wav"
    "${CMAKE_SOURCE_DIR}/resources/sons/fim2.wav")

pkg_check_modules(PULSE REQUIRED IMPORTED_TARGET libpulse)
find_package(ALSA REQUIRED)
find_package(Threads REQUIRED)
# Only their headers: the libraries are opened when the sound output starts (BibliotecaDinamica.h).
target_include_directories(zelpo_windows PRIVATE ${PULSE_INCLUDE_DIRS} ${ALSA_INCLUDE_DIRS})
target_link_libraries(zelpo_windows PRIVATE ${CMAKE_DL_LIBS} Threads::Threads)
