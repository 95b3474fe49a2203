# The window layer: the main window composes the subsystems' panels.
add_library(qvb_app STATIC
    MainLayout.cpp TFrmMain.cpp TFrmMainLayout.cpp TFrmMainWiring.cpp TFrmMainHistory.cpp TFrmMainFormFill.cpp
    TFrmMainContinuousRound.cpp TFrmMainKeyboard.cpp TabStops.cpp FocusMarkStyle.cpp GraphicsChoice.cpp
    CredentialGuard.cpp ContinuousRound.cpp TFrmMainTeam.cpp)
target_include_directories(qvb_app PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(qvb_app PUBLIC
    qvb_core qvb_resources qvb_about qvb_browser qvb_input qvb_sites qvb_articles qvb_transfer qvb_history qvb_team
    Qt6::Widgets Qt6::WebEngineWidgets Qt6::Quick)

add_executable(qvbzevi main.cpp)
target_link_libraries(qvbzevi PRIVATE qvb_app)
install(TARGETS qvbzevi RUNTIME DESTINATION bin)
