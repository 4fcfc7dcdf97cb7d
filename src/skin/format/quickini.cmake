#The skin description reader, part of the standard - library - only skin format library.
target_sources(
    framewright_skinformat PRIVATE $ {CMAKE_CURRENT_LIST_DIR} / quickini.cpp $ {CMAKE_CURRENT_LIST_DIR} / quickini.h)
