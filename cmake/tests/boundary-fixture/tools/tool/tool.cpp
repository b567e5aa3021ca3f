int Tool() { return 4; }
