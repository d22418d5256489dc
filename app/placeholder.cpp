int BvPlaceholder() { return 0; }
