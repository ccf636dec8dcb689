# The example flights that go into the install and the packages, file by
# file: what a run leaves in a flight's folder (screenshots, pictures, a
# trace) or any other stray file never reaches a host writer's tree. The
# test example_files_listed holds this list to the files git tracks.
set(KORVANE_EXAMPLE_FILES
    network/common.ini
    network/flight.ini
    network/keyboard.map
    network/options.ini
    network/scenario.ini
    network/text/chat_text.ini
    network/text/flight_text.ini
    training/common.ini
    training/data/briefing_theme.wav
    training/data/comm.dat
    training/data/effects.ffe
    training/data/environment.dat
    training/data/hud.dat
    training/data/messages.dat
    training/data/particles.dat
    training/data/shutter.wav
    training/data/sounds.lst
    training/data/speech.dat
    training/data/views.lst
    training/flight.ini
    training/keyboard.map
    training/loading.png
    training/modules/TrainingComm.dll
    training/modules/TrainingHud.dll
    training/options.ini
    training/scenario.ini
    training/text/chat_text.ini
    training/text/flight_text.ini
    training/text/loading_text.ini)
