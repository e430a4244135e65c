# SPDX-FileCopyrightText: 2026 The Tolm developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Tolm — the two commands a newcomer needs are `make run` and `make test`.
# Both install the Debian packages that are missing, then build.

BUILD    ?= build
FUZZ_BUILD ?= build-fuzz
SANITIZE_BUILD ?= build-sanitize
FUZZ_SECONDS ?= 60
JOBS     ?= $(shell nproc)

# desktop-file-utils and appstream validate the installed desktop entry and
# metainfo in the tests; dpkg-dev and file let `make package` find the
# package's library dependencies. qt6-l10n-tools and qt6-tools-dev compile
# the translations (lrelease, and CMake's LinguistTools); qt6-translations-l10n
# holds Qt's own texts in the user's language (the buttons of message boxes).
# libqt6svg6 holds Qt's SVG image and icon plugins: most applications'
# icons exist only as SVG.
PACKAGES = cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libgtest-dev \
           libbenchmark-dev libxcb1-dev xvfb xauth xdotool x11-utils openbox weston qt6-wayland \
           fonts-dejavu-core desktop-file-utils appstream dpkg-dev file \
           qt6-l10n-tools qt6-tools-dev qt6-translations-l10n libqt6svg6
FUZZ_PACKAGES = clang-14 libclang-rt-14-dev

SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

PREFIX   ?= /usr/local

.PHONY: all run test test-sanitize bench fuzz deps fuzz-deps build clean format screenshot install package \
        translations

all: build

# Installs only what dpkg says is missing, and names it first.
define install_missing
	@missing=""; for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing Debian packages:$$missing"; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

fuzz-deps:
	$(call install_missing,$(FUZZ_PACKAGES))

# `make test WERROR=ON` (as CI does) makes every compiler warning an error.
WERROR ?= OFF

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLM_WERROR=$(WERROR)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# The launcher keeps its shelf files in its current directory: ./run/, not the source tree.
run: build
	mkdir -p run
	cd run && ../$(BUILD)/app/tolm

# `make install PREFIX=~/.local` (DESTDIR=... is honoured too).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package for /usr in $(BUILD)/: sudo apt-get install ./$(BUILD)/tolm_*.deb
# lintian then checks it as Debian would, and any error or warning fails.
package: build
	$(call install_missing,lintian)
	rm -f $(BUILD)/tolm_*.deb
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error,warning $(BUILD)/tolm_*.deb

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer:
# any report, a leak left at exit included, ends the test program, so the
# test fails. The real-X checks are left to `make test`; they run the same
# code through real servers, slowly.
SANITIZE_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
               UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# Unoptimised: instrumented code compiles about three times faster at -O0,
# and the whole suite still runs in seconds.
$(SANITIZE_BUILD)/build.ninja:
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DTOLM_SANITIZE=address,undefined -DTOLM_BENCH=OFF -DTOLM_WERROR=$(WERROR)

test-sanitize: deps $(SANITIZE_BUILD)/build.ninja
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen \
	  ctest --output-on-failure -j $(JOBS) -E '^x11_'

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# Pictures of a shelf holding every kind of item, and of the properties
# dialog, written into build/screenshots/.
screenshot: build
	mkdir -p $(BUILD)/screenshots
	TOLM_SCREENSHOTS=$(CURDIR)/$(BUILD)/screenshots QT_QPA_PLATFORM=offscreen \
	  $(BUILD)/tests/test_items --gtest_filter='*Screenshot*'
	TOLM_SCREENSHOTS=$(CURDIR)/$(BUILD)/screenshots QT_QPA_PLATFORM=offscreen \
	  $(BUILD)/tests/test_dialogs --gtest_filter='*EveryControlFits*'
	@ls $(BUILD)/screenshots

# `make fuzz FUZZ_SECONDS=600` runs each fuzzer for that long, from its seeds
# in fuzz/seeds/<name>/ and what earlier runs kept in $(FUZZ_BUILD)/corpus/.
# An input that makes a fuzzer fail belongs in its seeds folder once the
# fault is mended: `make test` replays every seed.
fuzz: fuzz-deps
	CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD) -G Ninja -DTOLM_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
	  [ -x "$$f" ] || continue; \
	  name=$$(basename $$f); mkdir -p $(FUZZ_BUILD)/corpus/$$name; \
	  echo "== $$name for $(FUZZ_SECONDS) s"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=1024 -timeout=5 \
	      -artifact_prefix=$(FUZZ_BUILD)/$$name- \
	      $(FUZZ_BUILD)/corpus/$$name fuzz/seeds/$$name || exit 1; \
	done

# Refreshes every translations/tolm_<language>.ts from the texts in the
# sources: new texts come in untranslated, texts no longer used go. The build
# never does this; it only compiles the .ts files.
translations: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) --target translations

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(SANITIZE_BUILD)
