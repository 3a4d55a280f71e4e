# The version check and About windows, against a scripted loopback server.
trovik_add_test(gui_net_test net_window_test.cpp LIBS trovik_app trovik_net_testserver Qt6::Test)
