# The window managers the X11 harness runs, each with a private configuration and nothing of the user's or the
# system's: no session manager, no compositing, no panels that take space, two desktops. Sourced by x11-session.
#   wm_known <name>          true for a window manager named here
#   wm_tools <name>          the programs it needs on the machine, one a line
#   wm_needs_bus <name>      true when it needs a D-Bus session bus
#   wm_command <name> <dir>  writes its configuration below <dir> (its HOME) and prints its command line, one
#                            argument per line
# The environment that x11-session gives it: HOME=<dir>, XDG_* below <dir>, GSETTINGS_BACKEND=memory.

readonly kWindowManagers="openbox xfwm4 fluxbox icewm marco metacity kwin_x11"

wm_known() {
    [[ " $kWindowManagers " == *" $1 "* ]]
}

wm_tools() {
    echo "$1"
    if wm_needs_bus "$1"; then
        echo dbus-daemon
    fi
}

# xfwm4 reads its settings through xfconfd, which D-Bus starts; KWin registers itself on the bus.
wm_needs_bus() {
    [ "$1" = xfwm4 ] || [ "$1" = kwin_x11 ]
}

wm_command() {
    local wm=$1 home=$2
    case $wm in
    openbox)
        mkdir -p "$home/.config/openbox"
        cat >"$home/.config/openbox/rc.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy><monitor>Primary</monitor><primaryMonitor>1</primaryMonitor></placement>
  <theme><name>Clearlooks</name><titleLayout>NLIMC</titleLayout></theme>
  <desktops><number>2</number><firstdesk>1</firstdesk><popupTime>0</popupTime></desktops>
  <margins><top>0</top><bottom>0</bottom><left>0</left><right>0</right></margins>
  <keyboard></keyboard>
  <mouse></mouse>
  <menu><file>menu.xml</file></menu>
</openbox_config>
EOF
        cat >"$home/.config/openbox/menu.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_menu xmlns="http://openbox.org/3.4/menu"><menu id="root-menu" label="Openbox"/></openbox_menu>
EOF
        printf '%s\n' openbox --sm-disable --config-file "$home/.config/openbox/rc.xml"
        ;;
    xfwm4)
        mkdir -p "$home/.config/xfce4/xfconf/xfce-perchannel-xml"
        cat >"$home/.config/xfce4/xfconf/xfce-perchannel-xml/xfwm4.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfwm4" version="1.0">
  <property name="general" type="empty">
    <property name="use_compositing" type="bool" value="false"/>
    <property name="workspace_count" type="int" value="2"/>
  </property>
</channel>
EOF
        printf '%s\n' xfwm4 --compositor=off --sm-client-disable
        ;;
    fluxbox)
        # Without a background in its style fluxbox runs fbsetbg, which opens an xmessage window.
        mkdir -p "$home/.fluxbox"
        printf '%s\n' 'background: flat' 'background.color: #3a5f7f' >"$home/.fluxbox/style"
        cat >"$home/.fluxbox/init" <<EOF
session.configVersion: 13
session.styleFile: $home/.fluxbox/style
session.screen0.workspaces: 2
session.screen0.toolbar.visible: false
EOF
        printf '%s\n' fluxbox -rc "$home/.fluxbox/init"
        ;;
    icewm)
        mkdir -p "$home/.config/icewm"
        printf '%s\n' 'ShowTaskBar=0' 'WorkspaceNames=" 1 ", " 2 "' >"$home/.config/icewm/preferences"
        printf '%s\n' icewm "--config=$home/.config/icewm/preferences"
        ;;
    marco)
        # Its settings schemas come from mate-settings-daemon-common; the memory backend keeps them in the process.
        printf '%s\n' marco --no-composite --sm-disable
        ;;
    metacity)
        printf '%s\n' metacity --no-composite --sm-disable
        ;;
    kwin_x11)
        mkdir -p "$home/.config"
        printf '%s\n' '[Compositing]' 'Enabled=false' '[Desktops]' 'Number=2' 'Rows=1' >"$home/.config/kwinrc"
        printf '%s\n' env KWIN_COMPOSE=N kwin_x11
        ;;
    esac
}
