int v_fixture() { return 0; }
