# The folders of the program, each one library, and which folders each may use. A folder uses
# only those below it: the build links them that way, and check_layers.cmake fails the build on
# an include that goes the wrong way.
#
#   app
#   forms            components
#   triggers            |
#   engine              |
#   store  sendkey  journal
#   platform
set(KV_LAYER_ORDER platform store sendkey journal engine triggers components forms app)
set(KV_USES_platform)
set(KV_USES_store platform)
set(KV_USES_sendkey platform)
set(KV_USES_journal platform)
set(KV_USES_engine store sendkey journal platform)
set(KV_USES_triggers engine store sendkey journal platform)
set(KV_USES_components store platform)
set(KV_USES_forms triggers engine components store sendkey journal platform)
set(KV_USES_app forms triggers engine components store sendkey journal platform)
# Includes allowed against the order (none).
set(KV_LAYER_EXCEPTIONS)
